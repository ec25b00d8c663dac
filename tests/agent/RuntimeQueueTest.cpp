#include "RuntimeTestCharacter.h"
#include "agent/CharacterRuntime.h"
#include "agent/SpeechOutput.h"
#include "support/ManualAgentClock.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Records what a runtime did, in order, as short lines.
class Journal
{
public:
    explicit Journal(CharacterRuntime &runtime)
        : m_runtime(runtime)
    {
        QObject::connect(&runtime, &CharacterRuntime::requestStarted, &runtime,
                         [this](quint64 id, CharacterRuntime::RequestKind kind, const QString &a) {
                             m_kinds.insert(id, kind);
                             add(QStringLiteral("start %1 %2").arg(name(kind), a));
                         });
        QObject::connect(&runtime, &CharacterRuntime::requestCompleted, &runtime,
                         [this](quint64 id, bool ok) {
                             add(!m_kinds.contains(id)
                                         ? QStringLiteral("dropped")
                                         : QStringLiteral("%1 %2").arg(ok ? u"done" : u"fail",
                                                                       name(m_kinds.value(id))));
                         });
        QObject::connect(&runtime, &CharacterRuntime::hidden, &runtime,
                         [this] { add(QStringLiteral("hidden")); });
    }

    QStringList lines;
    QStringList timed; // lines with the time they happened

private:
    static QString name(CharacterRuntime::RequestKind kind)
    {
        return QString::fromLatin1(
                QMetaEnum::fromType<CharacterRuntime::RequestKind>().valueToKey(int(kind)));
    }
    void add(const QString &line)
    {
        lines << line;
        timed << QStringLiteral("%1 @%2").arg(line).arg(s_clock ? s_clock->nowMs() : 0);
    }

    CharacterRuntime &m_runtime;
    QHash<quint64, CharacterRuntime::RequestKind> m_kinds;

public:
    static inline ManualAgentClock *s_clock = nullptr;
};

class RuntimeQueue : public ::testing::Test
{
protected:
    RuntimeQueue() { Journal::s_clock = &clock; }
    ~RuntimeQueue() override { Journal::s_clock = nullptr; }

    ManualAgentClock clock;
    QRandomGenerator random{42};
    std::shared_ptr<CharacterData> data = makeRuntimeTestCharacter();
};

QStringList lines(std::initializer_list<const char *> items)
{
    QStringList list;
    for (const char *item : items)
        list << QString::fromLatin1(item);
    return list;
}

TEST_F(RuntimeQueue, RequestsRunInOrderAndFailuresCompleteAtOnce)
{
    CharacterRuntime runtime(data, clock, random);
    runtime.setIdleOn(false);
    Journal journal(runtime);
    runtime.speak(QStringLiteral("not yet")); // hidden: fails
    runtime.show();
    runtime.play(QStringLiteral("pleased")); // names ignore case
    runtime.play(QStringLiteral("NoSuchAnimation"));
    runtime.hide();
    clock.advance(10000);
    EXPECT_EQ(journal.timed,
              lines({"start Speak not yet @0", "fail Speak @0", "start Show  @0", "done Show @300",
                     "start Play pleased @300", "done Play @500", "start Play NoSuchAnimation @500",
                     "fail Play @500", "start Hide  @500", "hidden @700", "done Hide @700"}));
    EXPECT_FALSE(runtime.isVisible());
    EXPECT_EQ(clock.armedCount(), 0);
}

TEST_F(RuntimeQueue, ReturnAnimationRunsBeforeTheNextAnimationButNotBeforeSpeech)
{
    CharacterRuntime runtime(data, clock, random);
    runtime.setIdleOn(false);
    runtime.show();
    runtime.play(QStringLiteral("Wave"));
    clock.advance(300 + 400);
    EXPECT_EQ(runtime.currentAnimation(), QStringLiteral("Wave")); // held at its last frame
    QStringList seen;
    QObject::connect(&runtime, &CharacterRuntime::frameChanged, &runtime,
                     [&] { seen << runtime.currentAnimation(); });
    runtime.play(QStringLiteral("Pleased"));
    clock.advance(1000);
    seen.removeDuplicates();
    EXPECT_EQ(seen, lines({"WaveReturn", "Pleased"}));

    // A return stopped half way is still owed to the next animation.
    runtime.play(QStringLiteral("Wave"));
    clock.advance(1000);
    runtime.play(QStringLiteral("Pleased"));
    ASSERT_EQ(runtime.currentAnimation(), QStringLiteral("WaveReturn"));
    runtime.stop();
    seen.clear();
    runtime.play(QStringLiteral("Pleased"));
    clock.advance(1000);
    seen.removeDuplicates();
    EXPECT_EQ(seen, lines({"WaveReturn", "Pleased"}));

    // Asking for the return animation itself plays it once.
    runtime.play(QStringLiteral("Wave"));
    clock.advance(1000);
    seen.clear();
    runtime.play(QStringLiteral("wavereturn"));
    clock.advance(1000);
    seen.removeDuplicates();
    EXPECT_EQ(seen, lines({"WaveReturn"}));
}

TEST_F(RuntimeQueue, StopNeverCutsShowOrHideShort)
{
    CharacterRuntime runtime(data, clock, random);
    runtime.setIdleOn(false);
    Journal journal(runtime);
    runtime.show();
    clock.advance(50);
    runtime.stop();
    runtime.stopAll();
    EXPECT_TRUE(runtime.isBusy());
    clock.advance(1000);
    runtime.hide();
    clock.advance(50);
    runtime.stopAll();
    clock.advance(1000);
    EXPECT_EQ(journal.timed, lines({"start Show  @0", "done Show @300", "start Hide  @1050",
                                    "hidden @1250", "done Hide @1250"}));
}

TEST_F(RuntimeQueue, StopEndsTheCurrentRequestAndStopAllEmptiesTheQueue)
{
    CharacterRuntime runtime(data, clock, random);
    runtime.setIdleOn(false);
    runtime.show();
    clock.advance(300);
    Journal journal(runtime);
    runtime.play(QStringLiteral("Wave"));
    runtime.play(QStringLiteral("Pleased"));
    runtime.think(QStringLiteral("hmm"));
    clock.advance(150);
    runtime.stop(); // ends Wave; Pleased goes on (after Wave's return)
    clock.advance(50);
    runtime.stopAll(); // drops Think, ends Pleased
    EXPECT_FALSE(runtime.isBusy());
    EXPECT_EQ(runtime.queuedCount(), 0);
    runtime.play(QStringLiteral("Pleased"));
    clock.advance(5000);
    EXPECT_EQ(journal.lines, lines({"start Play Wave", "fail Play", "start Play Pleased", "dropped",
                                    "fail Play", "start Play Pleased", "done Play"}));
}

TEST_F(RuntimeQueue, HideEventComesWhileGoneEvenWithAShowQueuedBehind)
{
    CharacterRuntime runtime(data, clock, random);
    runtime.setIdleOn(false);
    QList<bool> visibleAtEvent;
    QObject::connect(&runtime, &CharacterRuntime::hidden, &runtime,
                     [&] { visibleAtEvent << runtime.isVisible(); });
    runtime.hide(); // already hidden: still reported gone, at once
    EXPECT_EQ(visibleAtEvent, QList<bool>{false});
    EXPECT_FALSE(runtime.isBusy());

    runtime.show();
    runtime.hide();
    runtime.show();
    clock.advance(5000);
    EXPECT_EQ(visibleAtEvent, (QList<bool>{false, false}));
    EXPECT_TRUE(runtime.isVisible());
}

TEST_F(RuntimeQueue, TwoCharactersKeepTheirOwnQueues)
{
    CharacterRuntime first(data, clock, random);
    CharacterRuntime second(data, clock, random);
    first.setIdleOn(false);
    second.setIdleOn(false);
    Journal a(first);
    Journal b(second);
    first.show();
    second.show();
    first.play(QStringLiteral("Wave"));
    second.play(QStringLiteral("Wave"));
    clock.advance(350);
    first.stopAll();
    clock.advance(2000);
    EXPECT_EQ(a.lines, lines({"start Show ", "done Show", "start Play Wave", "fail Play"}));
    EXPECT_EQ(b.timed, lines({"start Show  @0", "done Show @300", "start Play Wave @300",
                              "done Play @700"}));
}

TEST_F(RuntimeQueue, WalkMovesStepByStepAndStaysInBounds)
{
    CharacterRuntime runtime(data, clock, random);
    runtime.setIdleOn(false);
    runtime.setBounds(QRect(0, 0, 1000, 700));
    runtime.show();
    clock.advance(300);
    QList<QPoint> path;
    QObject::connect(&runtime, &CharacterRuntime::positionChanged, &runtime,
                     [&](const QPoint &p) { path << p; });
    QSignalSpy done(&runtime, &CharacterRuntime::requestCompleted);
    runtime.moveTo(QPoint(5000, 5000)); // clamped: the frame stays on screen
    clock.advance(100);
    EXPECT_EQ(runtime.currentAnimation(), QStringLiteral("MoveRight")); // mostly sideways
    clock.advance(10000);
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(runtime.position(), QPoint(900, 580));
    // 1073 px at the walking speed, in many small steps that never go backwards.
    EXPECT_GE(path.size(), 50);
    for (qsizetype i = 1; i < path.size(); ++i) {
        EXPECT_GE(path[i].x(), path[i - 1].x());
        EXPECT_LE((path[i] - path[i - 1]).manhattanLength(), 80);
    }

    // A screen going away puts a character that stood on it back inside.
    runtime.setBounds(QRect(0, 0, 800, 600));
    EXPECT_EQ(runtime.position(), QPoint(700, 480));

    // Hidden, or with reduced motion, the character is simply put there.
    runtime.setReducedMotion(true);
    path.clear();
    runtime.moveTo(QPoint(10, 10));
    EXPECT_EQ(path, QList<QPoint>{QPoint(10, 10)});
}

TEST_F(RuntimeQueue, IdleDeepensWhileUntouchedAndAnyRequestEndsIt)
{
    CharacterRuntime runtime(data, clock, random);
    runtime.show();
    clock.advance(300);
    QStringList played;
    QObject::connect(&runtime, &CharacterRuntime::frameChanged, &runtime,
                     [&] { played << runtime.currentAnimation(); });
    clock.advance(CharacterRuntime::IdleStartMs + 100);
    EXPECT_EQ(runtime.idleLevel(), 1);
    EXPECT_EQ(played.last(), QStringLiteral("Idle1_1"));
    clock.advance(CharacterRuntime::IdleLevel2Ms + CharacterRuntime::IdleGapMaxMs);
    EXPECT_EQ(runtime.idleLevel(), 2);
    clock.advance(CharacterRuntime::IdleLevel3Ms);
    EXPECT_EQ(runtime.idleLevel(), 3);
    EXPECT_TRUE(played.contains(QStringLiteral("Idle3_1")));

    runtime.play(QStringLiteral("Pleased"));
    EXPECT_EQ(runtime.idleLevel(), 0);
    EXPECT_EQ(runtime.currentAnimation(), QStringLiteral("Pleased"));

    // With idling off nothing is armed: a still character costs no wake-ups.
    clock.advance(1000);
    runtime.setIdleOn(false);
    EXPECT_EQ(clock.armedCount(), 0);
}

TEST_F(RuntimeQueue, SpeakShowsTheBalloonRevealsWordsAndMovesTheMouth)
{
    CharacterRuntime runtime(data, clock, random);
    runtime.setIdleOn(false);
    SpeechOutput output(clock);
    output.setAudible(false);
    runtime.setSpeechPort(&output);
    runtime.show();
    clock.advance(300);
    QSignalSpy shown(&runtime, &CharacterRuntime::balloonShown);
    QSignalSpy revealed(&runtime, &CharacterRuntime::balloonRevealed);
    QSignalSpy finished(&runtime, &CharacterRuntime::balloonFinished);
    QSignalSpy done(&runtime, &CharacterRuntime::requestCompleted);
    int mouthMoves = 0;
    QObject::connect(&runtime, &CharacterRuntime::frameChanged, &runtime,
                     [&] { mouthMoves += runtime.mouth().has_value(); });
    runtime.speak(QStringLiteral("\\Vol=58500\\Hello, it is time for lunch."));
    runtime.play(QStringLiteral("Pleased"));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first().at(0).toString(), QStringLiteral("Hello, it is time for lunch."));
    while (done.isEmpty()) {
        if (!clock.step())
            QTest::qWait(2);
    }
    EXPECT_EQ(finished.size(), 1);
    EXPECT_GE(revealed.size(), 6);
    EXPECT_EQ(revealed.last().at(0).toInt(), 28);
    EXPECT_GT(mouthMoves, 3);
    EXPECT_FALSE(runtime.mouth().has_value());
    EXPECT_EQ(runtime.currentAnimation(), QStringLiteral("Pleased")); // the queue went on
}

TEST_F(RuntimeQueue, StoppingSpeechHidesTheBalloonAtOnce)
{
    CharacterRuntime runtime(data, clock, random);
    runtime.setIdleOn(false);
    SpeechOutput output(clock);
    output.setAudible(false);
    runtime.setSpeechPort(&output);
    runtime.show();
    clock.advance(300);
    QSignalSpy cancelled(&runtime, &CharacterRuntime::balloonCancelled);
    QSignalSpy first(&output, &SpeechOutput::firstAudio);
    runtime.speak(QStringLiteral("A long sentence that will not be finished today."));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first.isEmpty(); }, 30000));
    clock.advance(500); // mid-sentence
    runtime.stop();
    EXPECT_EQ(cancelled.size(), 1);
    EXPECT_FALSE(output.isSpeaking());
    EXPECT_FALSE(runtime.isBusy());
}

} // namespace
