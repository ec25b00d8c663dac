#include "agent/SpeechOutput.h"

#include "agent/AgentClock.h"
#include "agent/SpeechEngine.h"
#include "agent/SpeechTags.h"
#include "support/ManualAgentClock.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// Steps the manual clock through the speech, letting the engine thread deliver chunks.
bool runToEnd(ManualAgentClock &clock, QSignalSpy &finished, int maxMs = 120000)
{
    const qint64 until = clock.nowMs() + maxMs;
    while (finished.isEmpty() && clock.nowMs() < until) {
        if (!clock.step())
            QTest::qWait(5);
        QCoreApplication::processEvents();
    }
    return !finished.isEmpty();
}

TEST(SpeechOutput, RevealsWordsInStepAndWritesTheWav)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("speech.wav"));
    SpeechEngine::instance().setWavFile(wav);
    ManualAgentClock clock(1000);
    SpeechOutput output(clock);
    output.setAudible(false); // the timeline on the manual clock, whatever the machine has
    QSignalSpy first(&output, &SpeechOutput::firstAudio);
    QSignalSpy revealed(&output, &SpeechOutput::revealed);
    QSignalSpy mouth(&output, &SpeechOutput::mouthChanged);
    QSignalSpy finished(&output, &SpeechOutput::finished);

    const SpeechScript script = SpeechTags::parse(
            QStringLiteral("\\Vol=58500\\Hello there, the reminder for the dentist is due now."));
    output.speak(script, QStringLiteral("en-us+f1"), 175);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first.isEmpty(); }, 30000));
    const qint64 start = clock.nowMs();
    ASSERT_TRUE(runToEnd(clock, finished));
    SpeechEngine::instance().setWavFile(QString());

    // Every word is revealed, in order, and the whole text at the end.
    ASSERT_GE(revealed.size(), 10);
    int previous = 0;
    for (const QList<QVariant> &args : revealed) {
        EXPECT_GE(args.at(0).toInt(), previous);
        previous = args.at(0).toInt();
    }
    EXPECT_EQ(previous, script.shownText().size());
    // The voice took real time and the mouth moved, then closed.
    const qint64 duration = clock.nowMs() - start;
    EXPECT_GT(duration, 1500);
    EXPECT_LT(duration, 15000);
    bool opened = false;
    for (const QList<QVariant> &args : mouth)
        opened = opened || args.at(0).toInt() > 0;
    EXPECT_TRUE(opened);
    EXPECT_EQ(mouth.last().at(0).toInt(), 0);

    QFile file(wav);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 44);
    EXPECT_EQ(bytes.left(4), QByteArrayLiteral("RIFF"));
    const quint32 dataBytes = qFromLittleEndian<quint32>(bytes.constData() + 40);
    EXPECT_EQ(qsizetype(dataBytes), bytes.size() - 44);
    // The recording lasts as long as the timeline, and is not silence.
    EXPECT_NEAR(double(dataBytes) / 2 / 22050 * 1000, double(duration), 50.0);
    int loud = 0;
    for (qsizetype i = 44; i + 1 < bytes.size(); i += 2)
        loud += std::abs(qFromLittleEndian<qint16>(bytes.constData() + i)) > 1000;
    EXPECT_GT(loud, 1000);
}

// Where a sound device exists (a desktop, or a PulseAudio null sink), the voice goes to it
// and the words follow what the device has taken.
TEST(SpeechOutput, PlaysThroughTheSoundDeviceWhenThereIsOne)
{
    if (QMediaDevices::defaultAudioOutput().isNull())
        GTEST_SKIP() << "no sound device";
    SpeechOutput output(AgentClock::system());
    QSignalSpy first(&output, &SpeechOutput::firstAudio);
    QSignalSpy finished(&output, &SpeechOutput::finished);
    QElapsedTimer timer;
    timer.start();
    output.speak(SpeechTags::parse(QStringLiteral("One two three four five.")),
                 QStringLiteral("en-us"), 175);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first.isEmpty(); }, 30000));
    EXPECT_TRUE(output.usesSoundDevice());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 15000));
    EXPECT_GT(timer.elapsed(), 1000);
}

TEST(SpeechOutput, PauseTagKeepsItsTimeSilently)
{
    ManualAgentClock clock;
    SpeechOutput output(clock);
    output.setAudible(false);
    QSignalSpy first(&output, &SpeechOutput::firstAudio);
    QSignalSpy finished(&output, &SpeechOutput::finished);
    output.speak(SpeechTags::parse(QStringLiteral("\\Pau=2000\\")), QStringLiteral("en-us"), 175);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first.isEmpty(); }, 30000));
    ASSERT_TRUE(runToEnd(clock, finished));
    EXPECT_EQ(clock.nowMs(), 2000);
}

TEST(SpeechOutput, LongTextIsSynthesisedAheadInBoundedBatches)
{
    QString text;
    while (text.size() < 20000)
        text += QStringLiteral("This is one sentence of a long clipboard text to read aloud. ");
    ManualAgentClock clock;
    SpeechOutput output(clock);
    output.setAudible(false); // position from the manual clock only, never from a device
    QSignalSpy first(&output, &SpeechOutput::firstAudio);
    QSignalSpy revealed(&output, &SpeechOutput::revealed);
    output.speak(SpeechTags::parse(text), QStringLiteral("en-us"), 175);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first.isEmpty(); }, 30000));
    // With the clock standing still the engine fills its read-ahead, then stops: about
    // twenty minutes of speech, but only seconds of it exist.
    ASSERT_TRUE(QTest::qWaitFor([&] { return output.bufferedMs() >= 15000; }, 30000));
    QTest::qWait(200);
    EXPECT_LT(output.bufferedMs(), 40000);

    // Moving on asks for more: a minute on, the voice still has audio ahead. Each second
    // waits for the engine, however slow the machine.
    for (int i = 0; i < 60; ++i) {
        clock.advance(1000);
        ASSERT_TRUE(QTest::qWaitFor([&] { return output.bufferedMs() >= 1000; }, 30000))
                << "second " << i;
    }
    EXPECT_TRUE(output.isSpeaking());
    EXPECT_GT(revealed.last().at(0).toInt(), 500);

    output.stop();
    const qsizetype count = revealed.size();
    clock.advance(5000);
    QTest::qWait(100);
    EXPECT_FALSE(output.isSpeaking());
    EXPECT_EQ(revealed.size(), count);
}

} // namespace
