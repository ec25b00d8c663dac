// The first-run tour (TourScript). Properties: one step at most per line, and a move lands
// within the bounds the character clamps from, whatever the percentages say.
#include "FuzzSupport.h"
#include "base/TextDecoding.h"
#include "character/CharacterActions.h"
#include "character/TourScript.h"

#include <QPoint>
#include <QSize>
#include <cmath>

namespace {

class Counter final : public CharacterActions
{
public:
    void play(const QString &) override { ++requests; }
    void speakText(const QString &) override { ++requests; }
    void think(const QString &) override { ++requests; }
    void showCharacter() override { ++requests; }
    void stopAll() override { ++requests; }
    void moveTo(const QPoint &p) override
    {
        ++requests;
        FUZZ_CHECK(std::abs(p.x()) <= 1'000'000 && std::abs(p.y()) <= 1'000'000,
                   QStringLiteral("%1,%2").arg(p.x()).arg(p.y()));
    }

    int requests = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::Reader in(data, size);
    const QSize screen(in.integer(0, 16384), in.integer(0, 16384));
    const QByteArray bytes = in.rest();
    const QString script = TextDecoding::decode(bytes);
    const QList<TourScript::Step> steps = TourScript::parse(script);
    FUZZ_CHECK(steps.size() <= TextDecoding::splitLines(script).size(),
               QStringLiteral("%1 steps").arg(steps.size()));
    for (const TourScript::Step &step : steps) {
        FUZZ_CHECK(std::isfinite(step.xPercent) && std::isfinite(step.yPercent), step.text);
        if (step.kind == TourScript::Step::Kind::Speak)
            FUZZ_CHECK(!step.text.contains(u',') && !step.animation.contains(u','), step.text);
    }
    Counter character;
    TourScript::perform(steps, character, screen);
    FUZZ_CHECK(character.requests <= 2 * steps.size(),
               QStringLiteral("%1 requests").arg(character.requests));

    const auto loaded = TourScript::load(Fuzz::writeProgramFile(TourScript::FileName, bytes));
    FUZZ_CHECK(loaded && loaded->size() == steps.size(), QStringLiteral("load differs from parse"));
    return 0;
}
