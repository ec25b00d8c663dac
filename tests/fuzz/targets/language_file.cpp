// Language files (LoadLanguage and the lookups the windows make). Properties: every text of
// a section is the file's line after its header with "&" doubled, and the plain form of a
// text has the file's ampersands back.
#include "FuzzSupport.h"
#include "base/Language.h"
#include "base/TextDecoding.h"

namespace {

const QString FileName = QStringLiteral("Fuzz.lang");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytes(data, size);
    Fuzz::writeProgramFile(FileName, bytes);
    FUZZ_CHECK(LoadLanguage(FileName), QStringLiteral("a written file does not load"));

    const QStringList fileLines = TextDecoding::splitLines(TextDecoding::decode(bytes));
    const QStringList &loaded = LangLines();
    FUZZ_CHECK(loaded.size() == fileLines.size() + 1,
               QStringLiteral("%1 lines loaded from %2").arg(loaded.size()).arg(fileLines.size()));
    FUZZ_CHECK(LanguageText::element(0).isEmpty() && LanguageText::element(-1).isNull() &&
                       LanguageText::element(loaded.size()).isNull(),
               QStringLiteral("elements outside the file"));

    // Look up every header the file has, the way ApplyLanguage does.
    int headers = 0;
    for (qsizetype i = 0; i < fileLines.size() && headers < 64; ++i) {
        const QString &line = fileLines.at(i);
        if (line.size() < 2 || !line.startsWith(u'[') || !line.endsWith(u']'))
            continue;
        ++headers;
        // Element k is line k of the file counted from 1; the section's first text follows
        // the first line equal to the header.
        const int start = FindSection(line);
        FUZZ_CHECK(start >= 2 && start <= i + 2, line);
        FUZZ_CHECK(fileLines.at(start - 2) == line && fileLines.indexOf(line) == start - 2, line);
        const QString name = line.mid(1, line.size() - 2);
        if (!name.startsWith(u'['))
            FUZZ_CHECK(FindSection(name) == start, name);
        for (int n = 0; n < 4; ++n) {
            const QString stored = GetLangText(line, n);
            const qsizetype index = qsizetype(start) + n - 1;
            const QString expected = index < fileLines.size() ? fileLines.at(index) : QString();
            FUZZ_CHECK(LanguageText::plain(stored) == expected,
                       line + QStringLiteral(" text %1: ").arg(n) + stored);
            FUZZ_CHECK(GetLangPlainText(line, n) == LanguageText::plain(stored), stored);
            LanguageText::leadingNumber(expected);
            LanguageText::isNumeric(expected);
        }
        FUZZ_CHECK(GetLangText(line, -1).isEmpty(), line);
    }
    return 0;
}
