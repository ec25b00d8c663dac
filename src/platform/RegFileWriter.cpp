#include "platform/RegFileWriter.h"

#include <QStringList>

const QString RegFileWriter::Header = QStringLiteral("Windows Registry Editor Version 5.00");

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
// The registry tool wraps hex data before this column.
constexpr qsizetype kHexWidth = 76;

bool hasControl(const QString &text, bool allowTab)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 && !(allowTab && c == u'\t'))
            return true;
    }
    return false;
}

QString quoted(const QString &text)
{
    QString out = QStringLiteral("\"");
    out.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    out += u'"';
    return out;
}

// `"name"=hex(1):41,00,...` with the terminating zero, wrapped like the registry tool does.
QString hexText(const QString &prefix, const QString &text)
{
    QString out = prefix + QStringLiteral("hex(1):");
    qsizetype column = out.size();
    const auto addByte = [&](uint byte, bool last) {
        QString item = QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
        if (!last)
            item += u',';
        if (column + item.size() > kHexWidth && !last) {
            out += QStringLiteral("\\") + kLineEnd + QStringLiteral("  ");
            column = 2;
        }
        out += item;
        column += item.size();
    };
    const qsizetype units = text.size() + 1;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = i < text.size() ? text.at(i).unicode() : u'\0';
        addByte(unit & 0xff, false);
        addByte(unit >> 8, i == units - 1);
    }
    return out;
}

QString valueLine(const RegValue &value)
{
    const QString prefix = (value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name)) + u'=';
    if (value.type == RegValue::Type::Dword)
        return prefix + QStringLiteral("dword:%1").arg(value.dword, 8, 16, QLatin1Char('0'));
    if (hasControl(value.text, true))
        return hexText(prefix, value.text);
    return prefix + quoted(value.text);
}

bool writeKey(const QString &path, const RegKeyTree &tree, QString &out, QString *error)
{
    if (hasControl(path, false)) {
        if (error)
            *error = QStringLiteral("The key name \"%1\" holds a control character and cannot be "
                                    "written to a registry file.")
                             .arg(path);
        return false;
    }
    out += u'[' + path + u']' + kLineEnd;
    for (const RegValue &value : tree.values) {
        if (hasControl(value.name, false)) {
            if (error)
                *error = QStringLiteral("The value name \"%1\" in %2 holds a control character "
                                        "and cannot be written to a registry file.")
                                 .arg(value.name, path);
            return false;
        }
        out += valueLine(value) + kLineEnd;
    }
    out += kLineEnd;
    for (const RegKeyTree &child : tree.subkeys) {
        if (!writeKey(path + u'\\' + child.name, child, out, error))
            return false;
    }
    return true;
}

} // namespace

std::optional<QString> RegFileWriter::text(const QString &keyPath, const RegKeyTree &tree,
                                           QString *error)
{
    QString out = Header + kLineEnd + kLineEnd;
    if (!writeKey(keyPath, tree, out, error))
        return std::nullopt;
    return out;
}

std::optional<QByteArray> RegFileWriter::bytes(const QString &keyPath, const RegKeyTree &tree,
                                               QString *error)
{
    const auto content = text(keyPath, tree, error);
    if (!content)
        return std::nullopt;
    QByteArray out("\xff\xfe", 2);
    out.reserve(2 + content->size() * 2);
    for (const QChar c : *content) {
        out += char(c.unicode() & 0xff);
        out += char(c.unicode() >> 8);
    }
    return out;
}
