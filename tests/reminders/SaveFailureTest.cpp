// A store on a disk that fills up mid-session: nothing is acknowledged that was not stored,
// nothing stored is lost, and the user hears of it once.
#include "GuiTestSupport.h"
#include "platform/RegistryStore.h"
#include "reminders/AlarmStore.h"
#include "reminders/ClsAlarm.h"
#include "reminders/ReminderPanel.h"
#include "support/FixedClock.h"
#include "support/TempHome.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SmallDisk
{
public:
    SmallDisk()
    {
        m_mounted = QProcess::execute(QStringLiteral("mount"),
                                      {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                       QStringLiteral("-o"), QStringLiteral("size=1m"),
                                       QStringLiteral("tmpfs"), m_dir.path()}) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_dir.path()});
    }
    bool mounted() const { return m_mounted; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Takes every free byte.
    void fill()
    {
        QFile filler(filePath(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    void free() { QFile::remove(filePath(QStringLiteral("filler"))); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

int storedCount(const QString &file)
{
    RegistryStore::setGlobalFile(file); // a fresh connection sees only what is on disk
    AlarmStore fresh;
    fresh.LoadAlarms();
    return fresh.count();
}

// The settings store on a disk of one megabyte.
class SaveFailureTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!disk.mounted())
            GTEST_SKIP() << "cannot mount a small disk here";
        RegistryStore::setGlobalFile(file);
        store.LoadAlarms();
    }
    void TearDown() override { RegistryStore::setGlobalFile(QString()); }

    TempHome home;
    SmallDisk disk;
    const QString file = disk.filePath(QStringLiteral("registry.db"));
    AlarmStore store;
};

TEST_F(SaveFailureTest, AFullDiskIsReportedOnceAndNothingStoredIsLost)
{
    FixedClock clock{QDateTime(QDate(2026, 12, 5), QTime(9, 0))};
    RecordingCharacter character;
    ReminderPanel panel{store, character};
    const auto add = [&](const QString &message) {
        character.calls.clear();
        panel.findChild<QLineEdit *>(QStringLiteral("AlarmSubject"))->setText(QStringLiteral("S"));
        panel.findChild<QPlainTextEdit *>(QStringLiteral("AlarmMsg"))->setPlainText(message);
        panel.findChild<QPushButton *>(QStringLiteral("CmdAdd"))->click();
    };
    const auto warnings = [] {
        int shown = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            shown += w->objectName() == u"SaveFailed" && w->isVisible();
        return shown;
    };

    add(QStringLiteral("first"));
    EXPECT_TRUE(character.calls.contains(QStringLiteral("speak:Ok I got it")));

    disk.fill();
    add(QStringLiteral("second ").repeated(20000));
    EXPECT_FALSE(character.calls.contains(QStringLiteral("speak:Ok I got it")));
    EXPECT_TRUE(character.calls.contains(QStringLiteral("decline")));
    ASSERT_EQ(warnings(), 1);
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            EXPECT_TRUE(box->text().contains(file)) << box->text().toStdString();
        }
    }
    add(QStringLiteral("third ").repeated(20000));
    EXPECT_EQ(warnings(), 1) << "said once, not at every change";
    EXPECT_EQ(store.count(), 3) << "kept in memory";

    disk.free();
    panel.findChild<QPushButton *>(QStringLiteral("CmdAdd"))->click(); // refused, but saves
    RegistryStore::resetGlobal();
    EXPECT_EQ(storedCount(file), 3);
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == u"SaveFailed")
            w->close();
    }
}

TEST_F(SaveFailureTest, AFailedSaveLeavesTheStoredRemindersWhole)
{
    for (int i = 0; i < 20; ++i)
        store.AddAlarm(std::make_unique<ClsAlarm>(), AlarmStore::NewKey());
    ASSERT_TRUE(store.SaveAlarms());
    disk.fill();
    store.at(0)->MyMsg = QStringLiteral("longer ").repeated(50000);
    store.RemoveAlarm(store.at(1)->MyAlarmKey);
    EXPECT_FALSE(store.SaveAlarms());
    EXPECT_TRUE(store.lastSaveError().startsWith(file));
    RegistryStore::resetGlobal();
    EXPECT_EQ(storedCount(file), 20) << "never overwritten by less";
}

} // namespace
