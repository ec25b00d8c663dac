#pragma once

#include <QString>
#include <QStringList>

// The desktop's default application for a kind of file, from the MIME database and the
// "mimeapps.list" files, without creating any file.
class MimeDefaults final
{
public:
    // Where to look: the XDG configuration folders and data folders, most important first.
    MimeDefaults(const QStringList &configFolders, const QStringList &dataFolders);
    // The folders of the user's environment ($XDG_CONFIG_HOME, $XDG_DATA_HOME, ...).
    static MimeDefaults fromEnvironment();

    // The MIME type of files ending in `.extension`; empty when the database knows none.
    static QString mimeTypeForExtension(const QString &extension);

    // The full path of the default desktop entry for `mimeType` (its parents are tried
    // after it); empty when there is none.
    QString defaultEntry(const QString &mimeType) const;

    // The desktop entry registered for files with `extension` ("htm", no full stop);
    // empty when none is.
    QString FindAssociatedProgram(const QString &extension) const;

    // The desktop entry file for an id ("org.example.App.desktop"); empty when missing.
    QString findEntry(const QString &id) const;

private:
    QStringList listFiles() const;
    QString defaultEntryFor(const QString &mimeType) const;

    QStringList m_config;
    QStringList m_data;
};
