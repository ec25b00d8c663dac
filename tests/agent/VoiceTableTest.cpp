#include "agent/VoiceTable.h"

#include "agent/SpeechEngine.h"
#include "agent/SpeechTags.h"

#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(VoiceTable, FemaleAndMaleNamesGetMatchingVariants)
{
    const auto voiceOf = [](const char *name) {
        return VoiceTable::espeakVoiceFor(VoiceTable::modeIdForName(QString::fromUtf8(name)), {});
    };
    EXPECT_TRUE(voiceOf("Adult Female #2, US English").contains(QStringLiteral("+f")));
    EXPECT_TRUE(voiceOf("Adult Male #8, US English").contains(QStringLiteral("+m")));
    EXPECT_EQ(VoiceTable::modeIdForName(QStringLiteral("Adult Male #1, US English")),
              QStringLiteral("{CA141FD0-AC7F-11D1-97A3-006008273000}"));
}

TEST(VoiceTable, NamesCompareExactly)
{
    EXPECT_TRUE(VoiceTable::modeIdForName(QStringLiteral("adult male #1, us english")).isEmpty());
    EXPECT_TRUE(VoiceTable::modeIdForName(QStringLiteral("Default")).isEmpty());
}

TEST(VoiceTable, UnlistedIdsKeepTheCharactersOwnVoice)
{
    const QString own = QStringLiteral("en-gb+f3");
    EXPECT_EQ(VoiceTable::espeakVoiceFor(QString(), own), own);
    EXPECT_EQ(VoiceTable::espeakVoiceFor(QStringLiteral("{00000000-0000-0000-0000-000000000000}"),
                                         own),
              own);
    // A character file may name an espeak-ng voice directly.
    EXPECT_EQ(VoiceTable::espeakVoiceFor(QStringLiteral("en-us+m3"), own),
              QStringLiteral("en-us+m3"));
    EXPECT_EQ(
            VoiceTable::espeakVoiceFor(QStringLiteral("ca141fd0-ac7f-11d1-97a3-006008273008"), own),
            QStringLiteral("en-us+f1"));
}

QByteArray synthesise(const QString &voice)
{
    SpeechEngine &engine = SpeechEngine::instance();
    QByteArray pcm;
    bool done = false;
    quint64 utterance = 0;
    const QMetaObject::Connection connection = QObject::connect(
            &engine, &SpeechEngine::chunkReady, &engine, [&](const SpeechChunk &chunk) {
                if (chunk.utterance != utterance)
                    return;
                pcm += chunk.pcm;
                done = chunk.last;
            });
    utterance = engine.start(SpeechTags::parse(QStringLiteral("Good morning")), voice, 175);
    while (!done)
        QTest::qWait(5);
    QObject::disconnect(connection);
    return pcm;
}

// Each of the ten names has its own id, and its voice must exist in the installed
// espeak-ng and sound different from the others and from the plain default; a missing
// variant would fall back to the default.
TEST(VoiceTable, EveryNameHasItsOwnIdAndSoundsDifferent)
{
    QSet<QString> ids;
    QSet<QByteArray> sounds{synthesise(QStringLiteral("en-us"))};
    for (const QString &name : VoiceTable::voiceNames()) {
        const QString id = VoiceTable::modeIdForName(name);
        ASSERT_FALSE(id.isEmpty()) << name.toStdString();
        ids.insert(id);
        const QByteArray pcm = synthesise(VoiceTable::espeakVoiceFor(id, {}));
        EXPECT_GT(pcm.size(), 4000) << name.toStdString();
        EXPECT_FALSE(sounds.contains(pcm)) << name.toStdString();
        sounds.insert(pcm);
    }
    EXPECT_EQ(ids.size(), 10);
}

} // namespace
