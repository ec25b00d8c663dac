#pragma once

#include <QList>
#include <QString>

// Texts that have been changed on their way through the store or a backup file before.
struct AwkwardText
{
    const char *name;
    QString text;

    // Control characters cannot stand in a name of a registry file; an empty value name is
    // the default value.
    bool fitsAValueName() const
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x20)
                return false;
        }
        return !text.isEmpty();
    }
    // "\\" separates the keys of a path.
    bool fitsAKeyName() const { return fitsAValueName() && !text.contains(u'\\'); }
};

inline QList<AwkwardText> awkwardTexts()
{
    const QChar bom(u'\xFEFF');
    const QChar high(char16_t(0xD83D));
    const QChar low(char16_t(0xDE00));
    return {
            {"Empty", QString()},
            {"Plain", QStringLiteral("Ann")},
            {"LeadingBom", bom + QStringLiteral("Ann")},
            {"OnlyBom", QString(bom)},
            {"BomTwiceAndInside", QString(bom) + bom + QStringLiteral("a") + bom},
            {"LoneHigh", QStringLiteral("a") + high + QStringLiteral("b")},
            {"LoneLow", QString(low) + QStringLiteral("b")},
            {"HighAtEnd", QStringLiteral("ab") + high},
            {"SwappedPair", QString(low) + high},
            {"ProperPair", QString(high) + low},
            {"Replacement", QStringLiteral("\uFFFD?")},
            {"Quotes", QStringLiteral("say \"hi\" \"")},
            {"Backslashes", QStringLiteral("C:\\Users\\ann\\")},
            {"EscapeLookalikes", QStringLiteral("\\\" \\\\\" \\n")},
            {"CommasAndBars", QStringLiteral("2026-12-06|09:00:00|Dentist,Dr. X|||")},
            {"LineFeeds", QStringLiteral("first\nsecond\n\nfourth\n")},
            {"CrLf", QStringLiteral("one\r\ntwo\r\n")},
            {"LoneCr", QStringLiteral("one\rtwo")},
            {"Tabs", QStringLiteral("\tindented\t")},
            {"Spaces", QStringLiteral("  padded  ")},
            {"OtherLineBreaks", QStringLiteral("a\u0085b\u2028c\u2029d\u000Be\u000Cf")},
            {"NonAscii", QStringLiteral("Grüße, señor: 漢字 😀 € ÿ")},
            {"LooksLikeData", QStringLiteral("dword:0000002a")},
            {"LooksLikeHex", QStringLiteral("hex(1):41,00")},
            {"Brackets", QStringLiteral("[HKEY_CURRENT_USER\\x]")},
            {"Semicolon", QStringLiteral("; not a comment")},
            {"Equals", QStringLiteral("a=\"b\"=c")},
            {"At", QStringLiteral("@")},
            {"ZeroInside", QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b")},
            {"ZeroOnly", QString(QChar(u'\0'))},
            {"LongMultiLine",
             QString(QStringLiteral("Line with ümlaut, \"q\" and \\ ").repeated(20) +
                     QStringLiteral("\r\nend"))},
            {"VeryLong", QString(QStringLiteral("x\u00e9\U0001F600")).repeated(40000)},
    };
}
