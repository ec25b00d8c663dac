#include "platform/RegFileReader.h"

#include "base/TextDecoding.h"
#include "platform/RegFileWriter.h"
#include "platform/RegistryOps.h"

#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <optional>

namespace {

const QString kRegedit4 = QStringLiteral("REGEDIT4");

QString lineError(int line, const QString &what)
{
    return QStringLiteral("Line %1: %2").arg(line).arg(what);
}

// A key path with its root written out; nothing when the root is unknown or a part is empty.
std::optional<QString> normalisedPath(const QString &path, QString &why)
{
    QStringList parts = path.split(u'\\');
    for (const QString &part : parts) {
        if (part.isEmpty()) {
            why = QStringLiteral("the key path \"%1\" has an empty key name").arg(path);
            return std::nullopt;
        }
    }
    if (const QString root = RegRootFullName(parts.first()); !root.isEmpty()) {
        parts.first() = root;
        return parts.join(u'\\');
    }
    why = QStringLiteral("the key path \"%1\" does not begin with a root key such as "
                         "HKEY_CURRENT_USER")
                  .arg(path);
    return std::nullopt;
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// UTF-16LE code units as they are: registry texts are not validated UTF-16.
QString fromUtf16Le(QByteArrayView bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(uchar(bytes[2 * i]) | uchar(bytes[2 * i + 1]) << 8));
    return text;
}

class Parser
{
public:
    Parser(const QString &text, QList<RegFileReader::Key> &keys)
        : m_keys(keys)
        , m_lines(TextDecoding::splitLines(text))
    {}

    bool run()
    {
        if (m_lines.isEmpty())
            return fail(1, QStringLiteral("the file is empty"));
        const QString header = m_lines.first().trimmed();
        if (header == RegFileWriter::Header)
            m_unicode = true;
        else if (header == kRegedit4)
            m_unicode = false;
        else
            return fail(1, QStringLiteral("this is not a registry file: the first line must be "
                                          "\"%1\" or \"%2\"")
                                   .arg(RegFileWriter::Header, kRegedit4));
        for (m_index = 1; m_index < m_lines.size(); ++m_index) {
            const QString line = m_lines.at(m_index).trimmed();
            if (line.contains(QChar(u'\0')))
                return fail(lineNumber(), QStringLiteral("the line holds a zero character; the "
                                                         "file is damaged or not a text file"));
            if (line.isEmpty() || line.startsWith(u';'))
                continue;
            if (!(line.startsWith(u'[') ? keyLine(line) : valueLine(line)))
                return false;
        }
        if (m_keys.isEmpty())
            return fail(m_lines.size(), QStringLiteral("the file holds no registry key"));
        return true;
    }

    QString error() const { return m_error; }

private:
    int lineNumber() const { return int(m_index) + 1; }

    bool fail(int line, const QString &what)
    {
        m_error = lineError(line, what);
        return false;
    }

    bool keyLine(const QString &line)
    {
        if (line.startsWith(QLatin1String("[-")))
            return fail(lineNumber(), QStringLiteral("deleting keys ([-...]) is not supported"));
        const qsizetype close = line.lastIndexOf(u']');
        if (close < 0 || !line.mid(close + 1).trimmed().isEmpty())
            return fail(lineNumber(), QStringLiteral("a key line must end with \"]\""));
        QString why;
        const auto path = normalisedPath(line.mid(1, close - 1), why);
        if (!path)
            return fail(lineNumber(), why);
        m_keys.append({*path, {}, lineNumber()});
        return true;
    }

    // A quoted text from `pos` (at the opening quote); `pos` ends after the closing quote.
    bool quoted(const QString &line, qsizetype &pos, QString &out)
    {
        out.clear();
        for (++pos; pos < line.size(); ++pos) {
            const QChar c = line.at(pos);
            if (c == u'"') {
                ++pos;
                return true;
            }
            if (c == u'\\') {
                if (pos + 1 >= line.size())
                    break;
                const QChar next = line.at(++pos);
                if (next != u'\\' && next != u'"')
                    return fail(
                            lineNumber(),
                            QStringLiteral("unknown escape \"\\%1\" in a quoted text").arg(next));
                out += next;
                continue;
            }
            out += c;
        }
        return fail(lineNumber(), QStringLiteral("a quoted text has no closing quote"));
    }

    bool valueLine(const QString &line)
    {
        if (m_keys.isEmpty())
            return fail(lineNumber(), QStringLiteral("a value comes before the first key line"));
        qsizetype pos = 0;
        QString name;
        if (line.startsWith(u'@')) {
            pos = 1;
        } else if (line.startsWith(u'"')) {
            if (!quoted(line, pos, name))
                return false;
        } else {
            return fail(lineNumber(),
                        QStringLiteral("expected a key line in brackets or a value line"));
        }
        while (pos < line.size() && line.at(pos).isSpace())
            ++pos;
        if (pos >= line.size() || line.at(pos) != u'=')
            return fail(lineNumber(), QStringLiteral("expected \"=\" after the value name"));
        const QString data = line.mid(pos + 1).trimmed();
        const int startLine = lineNumber();

        std::optional<RegValue> value;
        if (data.startsWith(u'"')) {
            qsizetype at = 0;
            QString text;
            if (!quoted(data, at, text))
                return false;
            if (!data.mid(at).trimmed().isEmpty())
                return fail(startLine, QStringLiteral("unexpected text after the closing quote"));
            value = RegValue::string(name, text);
        } else if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            value = dword(name, data.mid(6).trimmed());
        } else if (data == u'-') {
            return fail(startLine, QStringLiteral("deleting values (\"name\"=-) is not supported"));
        } else if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
            value = hexText(name, data);
        } else {
            return fail(startLine, QStringLiteral("unknown kind of value data \"%1\"").arg(data));
        }
        if (!value)
            return false;
        m_keys.last().values << *value;
        return true;
    }

    std::optional<RegValue> dword(const QString &name, const QString &digits)
    {
        bool allHex = !digits.isEmpty() && digits.size() <= 8;
        for (const QChar c : digits)
            allHex = allHex && isHexDigit(c);
        if (!allHex) {
            fail(lineNumber(),
                 QStringLiteral("a dword needs 1 to 8 hexadecimal digits, not \"%1\"").arg(digits));
            return std::nullopt;
        }
        return RegValue::number(name, digits.toUInt(nullptr, 16));
    }

    // hex(1) (text) and hex(2) (expandable text) hold text; other kinds are refused.
    std::optional<RegValue> hexText(const QString &name, const QString &data)
    {
        const int startLine = lineNumber();
        const qsizetype colon = data.indexOf(u':');
        const QString kind = data.left(colon < 0 ? 0 : colon).toLower();
        if (kind != QLatin1String("hex(1)") && kind != QLatin1String("hex(2)")) {
            fail(startLine, QStringLiteral("values of kind \"%1\" are not supported; only texts "
                                           "and dwords")
                                    .arg(colon < 0 ? data : kind));
            return std::nullopt;
        }
        QString list = data.mid(colon + 1).trimmed();
        while (list.endsWith(u'\\')) {
            list.chop(1);
            if (++m_index >= m_lines.size()) {
                fail(startLine, QStringLiteral("the file ends inside this value"));
                return std::nullopt;
            }
            list += m_lines.at(m_index).trimmed();
        }
        QByteArray bytes;
        if (!list.isEmpty()) {
            for (const QString &item : list.split(u',')) {
                const QString digits = item.trimmed();
                if (digits.isEmpty() || digits.size() > 2 || !isHexDigit(digits.front()) ||
                    !isHexDigit(digits.back())) {
                    fail(startLine, QStringLiteral("\"%1\" is not a hexadecimal byte").arg(item));
                    return std::nullopt;
                }
                bytes += char(digits.toUInt(nullptr, 16));
            }
        }
        if (!m_unicode) {
            if (bytes.endsWith('\0'))
                bytes.chop(1);
            return RegValue::string(name, RegFileReader::fromWindows1252(bytes));
        }
        if (bytes.size() % 2) {
            fail(startLine, QStringLiteral("a text in hex form needs an even number of bytes"));
            return std::nullopt;
        }
        QString text = fromUtf16Le(bytes);
        if (text.endsWith(QChar(u'\0')))
            text.chop(1);
        return RegValue::string(name, text);
    }

    QList<RegFileReader::Key> &m_keys;
    QStringList m_lines;
    qsizetype m_index = 0;
    bool m_unicode = true;
    QString m_error;
};

std::optional<QString> decode(const QByteArray &bytes, QString &error)
{
    if (bytes.startsWith("\xff\xfe")) {
        if (bytes.size() % 2) {
            error = QStringLiteral("The file is cut off in the middle of a character.");
            return std::nullopt;
        }
        // Registry texts are unvalidated UTF-16, so every code unit is taken as it is.
        return fromUtf16Le(QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith("\xef\xbb\xbf")) {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = decoder(QByteArrayView(bytes).sliced(3));
        if (decoder.hasError()) {
            error = QStringLiteral("The file is not valid UTF-8 text (it may be damaged).");
            return std::nullopt;
        }
        return text;
    }
    return RegFileReader::fromWindows1252(bytes);
}

// Each name folded alone, as the names of the tree are compared: the whole path folded at
// once did not always split into the same names (a fuzzer found it with lone surrogates).
QStringList foldedParts(const QString &path)
{
    QStringList parts = path.split(u'\\');
    for (QString &part : parts)
        part = part.toCaseFolded();
    return parts;
}

} // namespace

QString RegFileReader::rootedPath(const QString &path)
{
    QString why;
    return normalisedPath(path, why).value_or(QString());
}

QString RegFileReader::fromWindows1252(const QByteArray &bytes)
{
    return TextDecoding::fromWindows1252(bytes);
}

bool RegFileReader::parse(const QByteArray &bytes, QList<Key> &keys, QString *error)
{
    keys.clear();
    QString why;
    const auto text = decode(bytes, why);
    if (!text) {
        if (error)
            *error = why;
        return false;
    }
    Parser parser(*text, keys);
    if (parser.run())
        return true;
    keys.clear();
    if (error)
        *error = parser.error();
    return false;
}

bool RegFileReader::buildTree(const QList<Key> &keys, const QString &target, RegKeyTree &tree,
                              QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    QString why;
    const auto top =
            normalisedPath(target.isEmpty() && !keys.isEmpty() ? keys.first().path : target, why);
    if (!top)
        return fail(why);
    const QStringList topParts = foldedParts(*top);
    tree = RegKeyTree{top->section(u'\\', -1), {}, {}};

    for (const Key &key : keys) {
        const QStringList parts = key.path.split(u'\\');
        const QStringList folded = foldedParts(key.path);
        if (folded.size() < topParts.size() || folded.mid(0, topParts.size()) != topParts)
            return fail(lineError(
                    key.line,
                    QStringLiteral("the key \"%1\" lies outside \"%2\"").arg(key.path, *top)));
        RegKeyTree *node = &tree;
        for (qsizetype i = topParts.size(); i < parts.size(); ++i) {
            RegKeyTree *child = nullptr;
            for (RegKeyTree &candidate : node->subkeys) {
                if (candidate.name.toCaseFolded() == folded.at(i))
                    child = &candidate;
            }
            if (!child) {
                node->subkeys.append(RegKeyTree{parts.at(i), {}, {}});
                child = &node->subkeys.last();
            }
            node = child;
        }
        for (const RegValue &value : key.values) {
            const QString name = value.name.toCaseFolded();
            auto same =
                    std::find_if(node->values.begin(), node->values.end(),
                                 [&](const RegValue &v) { return v.name.toCaseFolded() == name; });
            if (same == node->values.end()) {
                node->values << value;
            } else {
                const QString kept = same->name;
                *same = value;
                same->name = kept;
            }
        }
    }
    return true;
}
