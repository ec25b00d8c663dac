#include "platform/AutostartEntry.h"

#include "platform/RegistryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

const QString AutostartEntry::RunKey =
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString AutostartEntry::ValueName = QStringLiteral("::: Quillomi :::");

namespace {

QString normalised(const QString &keyPath)
{
    return RegistryStore::splitPath(keyPath).join(u'\\').toCaseFolded();
}

// A string value of a desktop entry: backslash and control characters escaped.
QString escapeString(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString &entryFile()
{
    static QString file;
    return file;
}

} // namespace

QString AutostartEntry::file()
{
    return entryFile();
}

void AutostartEntry::setFile(const QString &file)
{
    entryFile() = file;
}

bool AutostartEntry::concerns(const QString &keyPath)
{
    const QString key = normalised(keyPath);
    const QString run = normalised(RunKey);
    return !key.isEmpty() && (key == run || run.startsWith(key + u'\\'));
}

QString AutostartEntry::programFor(const QString &storedPath)
{
    const QString path = storedPath.trimmed();
    const QFileInfo info(path);
    if (info.isAbsolute() && info.isFile() && info.isExecutable())
        return path;
    return QCoreApplication::applicationFilePath();
}

QString AutostartEntry::execValue(const QString &program)
{
    // Quoted as one argument: ", `, $ and \ get a backslash, % is doubled (field codes);
    // then the string level escapes the backslashes once more.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    return escapeString(quoted);
}

QByteArray AutostartEntry::contents(const QString &program)
{
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Quillomi\n"
                                        "Comment=Desktop reminder companion\n"
                                        "Exec=%1\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                                 .arg(execValue(program));
    return text.toUtf8();
}

bool AutostartEntry::sync(RegistryStore &store)
{
    const auto value = store.value(RunKey, ValueName);
    const QString path = file();
    if (path.isEmpty())
        return true;
    if (!value || value->toText().trimmed().isEmpty())
        return !QFileInfo::exists(path) || QFile::remove(path);

    const QByteArray wanted = contents(programFor(value->toText()));
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == wanted)
        return true;
    current.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(wanted) == wanted.size() && out.commit();
}
