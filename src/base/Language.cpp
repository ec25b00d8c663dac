#include "base/Language.h"

#include "base/AppPaths.h"
#include "base/TextDecoding.h"

#include <QFile>
#include <limits>

namespace {

const QString DefaultLanguage = QStringLiteral("English.lang");

QStringList &lines()
{
    static QStringList loaded{QString()};
    return loaded;
}

// The header as it is stored: brackets around the name, ampersands doubled like every line.
QString storedHeader(const QString &section)
{
    QString name = section.startsWith(u'[') ? section : u'[' + section + u']';
    return name.replace(u'&', QStringLiteral("&&"));
}

bool readFile(const QString &fileName)
{
    QFile file(AppPaths::join(AppPaths::programFolder(), fileName));
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QStringList fileLines = TextDecoding::splitLines(TextDecoding::decode(file.readAll()));
    QStringList &loaded = lines();
    loaded.reserve(fileLines.size() + 1);
    for (QString line : fileLines)
        loaded << line.replace(u'&', QStringLiteral("&&"));
    return true;
}

} // namespace

bool LoadLanguage(const QString &fileName)
{
    lines() = QStringList{QString()};
    if (readFile(fileName))
        return true;
    if (fileName.compare(DefaultLanguage, Qt::CaseInsensitive) != 0)
        readFile(DefaultLanguage);
    return false;
}

int FindSection(const QString &section)
{
    const int index = int(lines().indexOf(storedHeader(section)));
    return index < 0 ? -1 : index + 1;
}

QString GetLangText(const QString &section, int n)
{
    const int start = FindSection(section);
    if (start < 0 || n < 0)
        return QString();
    return LanguageText::element(qsizetype(start) + n);
}

QString GetLangPlainText(const QString &section, int n)
{
    return LanguageText::plain(GetLangText(section, n));
}

const QStringList &LangLines()
{
    return lines();
}

namespace LanguageText {

QString element(qsizetype index)
{
    const QStringList &loaded = lines();
    if (index < 0 || index >= loaded.size())
        return QString();
    return loaded.at(index);
}

int leadingNumber(const QString &caption)
{
    qsizetype i = 0;
    while (i < caption.size() && caption.at(i).isSpace())
        ++i;
    qint64 number = 0;
    for (; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c < u'0' || c > u'9')
            break;
        number = number * 10 + (c.unicode() - u'0');
        if (number > std::numeric_limits<int>::max())
            return 0;
    }
    return int(number);
}

bool isNumeric(const QString &caption)
{
    bool ok = false;
    caption.trimmed().toDouble(&ok);
    return ok;
}

QString plain(const QString &stored)
{
    QString text = stored;
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

} // namespace LanguageText
