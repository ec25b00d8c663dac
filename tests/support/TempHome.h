#pragma once

#include <QString>
#include <QTemporaryDir>

// Gives a test its own QUILLOMI_HOME for its lifetime and a fresh global settings store.
class TempHome final
{
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome &) = delete;
    TempHome &operator=(const TempHome &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};
