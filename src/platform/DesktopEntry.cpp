#include "platform/DesktopEntry.h"

#include <QFile>

namespace {

// The escapes of a string value: "\s", "\n", "\t", "\r", "\\".
QString unescapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case '\\':
            out += u'\\';
            break;
        default:
            out += c;
            out += next;
        }
    }
    return out;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::read(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QStringList lines = QString::fromUtf8(in.readAll()).split(u'\n');
    DesktopEntry entry;
    entry.m_file = file;
    bool inEntry = false;
    bool hidden = false;
    QString exec;
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = unescapeValue(line.mid(eq + 1).trimmed());
        if (key == QLatin1String("Exec"))
            exec = value;
        else if (key == QLatin1String("Name"))
            entry.m_name = value;
        else if (key == QLatin1String("Icon"))
            entry.m_icon = value;
        else if (key == QLatin1String("Hidden"))
            hidden = value == QLatin1String("true");
    }
    entry.m_exec = splitExec(exec);
    if (hidden || entry.m_exec.isEmpty())
        return std::nullopt;
    return entry;
}

QStringList DesktopEntry::splitExec(const QString &exec)
{
    QStringList args;
    QString current;
    bool started = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < exec.size()) {
                current += exec.at(++i);
            } else {
                current += c;
            }
        } else if (c == u'"') {
            quoted = true;
            started = true;
        } else if (c == u' ' || c == u'\t') {
            if (started)
                args << current;
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started)
        args << current;
    return args;
}

QStringList DesktopEntry::commandFor(const QStringList &targets) const
{
    QStringList command;
    for (const QString &arg : m_exec) {
        if (arg == QLatin1String("%F") || arg == QLatin1String("%U")) {
            command << targets;
            continue;
        }
        if (arg == QLatin1String("%i")) {
            if (!m_icon.isEmpty())
                command << QStringLiteral("--icon") << m_icon;
            continue;
        }
        // Codes inside a longer argument ("--url=%u") are expanded in place.
        QString out;
        bool dropped = false;
        for (qsizetype i = 0; i < arg.size(); ++i) {
            const QChar c = arg.at(i);
            if (c != u'%' || i + 1 == arg.size()) {
                out += c;
                continue;
            }
            const QChar code = arg.at(++i);
            switch (code.unicode()) {
            case '%':
                out += u'%';
                break;
            case 'f':
            case 'u':
                if (targets.isEmpty())
                    dropped = true;
                else
                    out += targets.first();
                break;
            case 'c':
                out += m_name;
                break;
            case 'k':
                out += m_file;
                break;
            default:
                break; // deprecated and unknown codes go
            }
        }
        if (!dropped && !(out.isEmpty() && !arg.isEmpty()))
            command << out;
    }
    return command;
}
