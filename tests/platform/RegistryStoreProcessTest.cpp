#include "StoreWriterProtocol.h"
#include "platform/RegistryStore.h"
#include "settings/SettingsStore.h"
#include "support/TempHome.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kWriter = QStringLiteral(STORE_WRITER_PATH);

// A writer rewrites a section of thousands of values in a loop and is killed at random
// instants; afterwards the section must be exactly one of the two contents.
TEST(RegistryStoreProcess, KillDuringRewriteLeavesOldOrNewSection)
{
    TempHome home;
    const QString file = home.filePath(QStringLiteral("kill.db"));
    constexpr int count = 3000;
    const auto even = StoreWriterProtocol::content(count, 0);
    const auto odd = StoreWriterProtocol::content(count, 1);
    QRandomGenerator random(20261206);
    int sawEven = 0;
    int sawOdd = 0;
    for (int round = 0; round < 12; ++round) {
        QProcess writer;
        writer.start(kWriter, {QStringLiteral("rewrite"), file, QString::number(count)});
        ASSERT_TRUE(writer.waitForStarted());
        while (!writer.canReadLine())
            ASSERT_TRUE(writer.waitForReadyRead(20000)) << writer.readAllStandardError().data();
        ASSERT_EQ(writer.readLine(), QByteArray("ready\n"));
        QThread::usleep(random.bounded(1, 200'000));
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished());
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit)
                << "writer stopped by itself: " << writer.readAllStandardError().data();

        RegistryStore registry(file);
        ASSERT_TRUE(registry.openProblem().isEmpty()) << registry.openProblem().toStdString();
        const auto entries =
                SettingsStore(&registry).all(StoreWriterProtocol::App, QStringLiteral("Rewrite"));
        if (entries == even)
            ++sawEven;
        else if (entries == odd)
            ++sawOdd;
        else
            FAIL() << "round " << round << ": a section of " << entries.size() << " values";
    }
    EXPECT_EQ(sawEven + sawOdd, 12);
}

// Two other processes and this one write at once: nothing is lost, nothing fails as locked.
TEST(RegistryStoreProcess, ConcurrentWritersLoseNothing)
{
    TempHome home;
    const QString file = home.filePath(QStringLiteral("shared.db"));
    constexpr int count = 300;
    RegistryStore registry(file);
    SettingsStore store(&registry);
    const QString section =
            SettingsStore::sectionPath(StoreWriterProtocol::App, QStringLiteral("Shared"));

    QProcess first;
    QProcess second;
    first.start(kWriter,
                {QStringLiteral("add"), file, QStringLiteral("p"), QString::number(count)});
    second.start(kWriter,
                 {QStringLiteral("add"), file, QStringLiteral("q"), QString::number(count)});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(second.waitForStarted());
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(store.save(StoreWriterProtocol::App, QStringLiteral("Shared"),
                               QStringLiteral("r%1").arg(i), QStringLiteral("r")))
                << registry.lastError().toStdString();
        ASSERT_TRUE(registry.transaction([&] {
            const auto old = registry.value(section, QStringLiteral("Counter"));
            return registry.setValue(
                    section, RegValue::number(QStringLiteral("Counter"), old ? old->dword + 1 : 1));
        })) << registry.lastError().toStdString();
    }
    for (QProcess *writer : {&first, &second}) {
        ASSERT_TRUE(writer->waitForFinished(120000));
        EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().data();
    }

    const auto entries = store.all(StoreWriterProtocol::App, QStringLiteral("Shared"));
    EXPECT_EQ(entries.size(), 3 * count + 1);
    for (const char *tag : {"p", "q", "r"}) {
        for (int i = 0; i < count; ++i) {
            const QString key = QLatin1String(tag) + QString::number(i);
            EXPECT_EQ(store.get(StoreWriterProtocol::App, QStringLiteral("Shared"), key),
                      QLatin1String(tag))
                    << qPrintable(key);
        }
    }
    EXPECT_EQ(store.get(StoreWriterProtocol::App, QStringLiteral("Shared"),
                        QStringLiteral("Counter")),
              QString::number(3 * count));
}

} // namespace
