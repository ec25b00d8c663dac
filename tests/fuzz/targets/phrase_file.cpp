// Phrase files (ClsTxt over PhraseLine): the speaker reads its file afresh for each line.
// Properties: the counter stays on a line of the file, and what is said is that line's first
// piece (Read, Think) or the whole line (Feed, Hide), with the second piece as animation.
#include "FuzzSupport.h"
#include "base/TextDecoding.h"
#include "character/CharacterActions.h"
#include "character/ClsTxt.h"
#include "character/PhraseLine.h"

#include <QPoint>
#include <QStringList>

namespace {

const QString FileName = QStringLiteral("fuzz.txt");

class Listener final : public CharacterActions
{
public:
    void play(const QString &animation) override { played = animation; }
    void speakText(const QString &text) override { said = text; }
    void think(const QString &text) override { said = text; }
    void showCharacter() override {}
    void stopAll() override {}
    void moveTo(const QPoint &) override {}

    QString played;
    QString said;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::Reader in(data, size);
    const int calls = in.integer(1, 16);
    const QByteArray bytes = in.rest();
    const QString path = Fuzz::writeProgramFile(FileName, bytes);
    const QStringList lines = TextDecoding::splitLines(TextDecoding::decode(bytes));

    Listener character;
    ClsTxt speaker(character, path.section(u'/', 0, -2), FileName);
    for (int call = 0; call < calls; ++call) {
        character.played.clear();
        character.said.clear();
        switch (call % 4) {
        case 0:
            speaker.Read();
            break;
        case 1:
            speaker.Think();
            break;
        case 2:
            speaker.Feed();
            break;
        default:
            speaker.Hide();
            break;
        }
        const int at = speaker.counter();
        FUZZ_CHECK(at >= 0 && (lines.isEmpty() ? at == 0 : at < lines.size()),
                   QStringLiteral("counter %1 of %2 lines").arg(at).arg(lines.size()));
        const QString line = lines.isEmpty() ? QString() : lines.at(at);
        const QStringList pieces = PhraseLine::pieces(line);
        if (call % 4 >= 2) {
            FUZZ_CHECK(character.said == line, character.said);
        } else {
            FUZZ_CHECK(character.said == pieces.value(0), character.said);
            FUZZ_CHECK(character.played == pieces.value(1).trimmed(), character.played);
        }
    }

    int counter = PhraseLine::MaxCounter;
    FUZZ_CHECK(PhraseLine::next(std::nullopt, counter).isEmpty() && counter == 0,
               QStringLiteral("counter %1 after the last").arg(counter));
    return 0;
}
