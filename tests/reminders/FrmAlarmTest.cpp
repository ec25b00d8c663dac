#include "reminders/FrmAlarm.h"

#include "GuiTestSupport.h"
#include "base/Twips.h"
#include "platform/browser/Browser.h"
#include "reminders/AlarmStore.h"
#include "reminders/ClsAlarm.h"
#include "reminders/ReminderPanel.h"
#include "support/FixedClock.h"
#include "support/TempHome.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void tick(QTimer *timer, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QMetaObject::invokeMethod(timer, "timeout");
}

class FrmAlarmTest : public testing::Test
{
protected:
    ~FrmAlarmTest() override
    {
        for (FrmAlarm *popup : FrmAlarm::openPopups())
            delete popup;
    }

    FrmAlarm *open(const QString &key, const QString &text = QStringLiteral("Call Ann"))
    {
        auto *popup = new FrmAlarm(&panel);
        popup->myKey = key;
        popup->ShowAlarm(text);
        [&] {
            QTRY_VERIFY(popup->isVisible());
        }();
        return popup;
    }
    static QTimer *timer(FrmAlarm *popup, const char *name)
    {
        return popup->findChild<QTimer *>(QLatin1String(name));
    }
    static void finishSlide(FrmAlarm *popup)
    {
        QTimer *pop = timer(popup, "TmrPop");
        pop->stop();
        for (int i = 0; i < 1000 && popup->heightTwips() < FrmAlarm::DesignHeight * 2; ++i) {
            const int before = popup->heightTwips();
            tick(pop);
            if (popup->heightTwips() == before)
                break;
        }
    }

    TempHome home;
    FixedClock clock{QDateTime(QDate(2026, 12, 5), QTime(9, 0, 0))};
    RecordingCharacter character;
    AlarmStore store;
    ReminderPanel panel{store, character};
};

struct OffsetCase
{
    const char *name;
    QRect available;
    int offset;
};

void PrintTo(const OffsetCase &c, std::ostream *os)
{
    *os << c.name;
}

class TaskBarOffsetTest : public testing::TestWithParam<OffsetCase>
{
};

TEST_P(TaskBarOffsetTest, FirstPopupSitsAboveABottomTaskBarOnly)
{
    EXPECT_EQ(FrmAlarm::GetAlarmTopWnd(QRect(0, 0, 1280, 800), GetParam().available),
              GetParam().offset);
}

const OffsetCase offsetCases[] = {
        {"BottomPanel30px", QRect(0, 0, 1280, 770), Twips::fromPixelsY(30)},
        {"NoTaskBar", QRect(0, 0, 1280, 800), 0},
        {"TopPanel", QRect(0, 30, 1280, 770), 0},
        {"LeftPanel", QRect(60, 0, 1220, 800), 0},
        {"TopAndBottomPanels", QRect(0, 30, 1280, 740), Twips::fromPixelsY(30)},
        {"LeftDockAndBottomPanel", QRect(60, 0, 1220, 770), Twips::fromPixelsY(30)},
};

INSTANTIATE_TEST_SUITE_P(Screens, TaskBarOffsetTest, testing::ValuesIn(offsetCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(FrmAlarmTest, PopupsStackAboveTheLastOneOpened)
{
    FrmAlarm *first = open(QStringLiteral("i1"));
    FrmAlarm *second = open(QStringLiteral("i2"));
    FrmAlarm *third = open(QStringLiteral("i3"));
    EXPECT_EQ(first->new_y, 0);
    EXPECT_EQ(second->new_y, 240);
    EXPECT_EQ(third->new_y, 480);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (FrmAlarm *popup : {first, second, third}) {
        finishSlide(popup);
        EXPECT_EQ(popup->geometry().bottom() + 1,
                  screen.bottom() + 1 - Twips::toPixelsY(popup->new_y));
        EXPECT_EQ(popup->geometry().right() + 1,
                  screen.right() + 1 - Twips::toPixelsX(FrmAlarm::RightMargin));
    }
    // Closing one moves no other.
    const QRect before = third->geometry();
    second->close();
    EXPECT_EQ(third->geometry(), before);
    EXPECT_EQ(FrmAlarm::openPopups(), (QList<FrmAlarm *>{first, third}));
}

TEST_F(FrmAlarmTest, ManyPopupsStayOnTheScreen)
{
    FrmAlarm *first = open(QStringLiteral("i1"));
    first->new_y = Twips::fromPixelsY(5000); // as if dozens were open
    FrmAlarm *next = open(QStringLiteral("i2"));
    finishSlide(next);
    EXPECT_GE(next->geometry().top(), QGuiApplication::primaryScreen()->geometry().top());
    EXPECT_GT(next->new_y, 0);
}

TEST_F(FrmAlarmTest, SlidesUpWithItsBottomEdgeFixed)
{
    FrmAlarm *popup = open(QStringLiteral("i1"));
    QTimer *pop = timer(popup, "TmrPop");
    EXPECT_TRUE(pop->isActive());
    EXPECT_EQ(pop->interval(), 10);
    pop->stop();
    const int bottom = popup->geometry().bottom();
    const int start = popup->heightTwips();
    tick(pop, 30);
    EXPECT_EQ(popup->heightTwips(), start + 30 * FrmAlarm::SlideStep);
    EXPECT_EQ(popup->geometry().bottom(), bottom);
    finishSlide(popup);
    EXPECT_GE(popup->heightTwips(), FrmAlarm::DesignHeight);
    EXPECT_EQ(popup->geometry().bottom(), bottom);
    pop->start();
    tick(pop);
    EXPECT_FALSE(pop->isActive()) << "the slide stops at the full height";
    EXPECT_TRUE(popup->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(popup->windowFlags() & Qt::WindowStaysOnTopHint);
}

struct SnoozeCase
{
    const char *name;
    int entry;
    int ticksUntilBack;
};

void PrintTo(const SnoozeCase &c, std::ostream *os)
{
    *os << c.name;
}

class SnoozeTest : public FrmAlarmTest, public testing::WithParamInterface<SnoozeCase>
{
};

TEST_P(SnoozeTest, ComesBackAfterExactlyTheChosenMinutesAndIsSaidAgain)
{
    auto alarm = std::make_unique<ClsAlarm>();
    alarm->MySubj = QStringLiteral("Tea");
    store.AddAlarm(std::move(alarm), QStringLiteral("i1"));
    FrmAlarm *popup = open(QStringLiteral("i1"));
    finishSlide(popup);
    const QRect placed = popup->geometry();
    popup->findChild<QComboBox *>(QStringLiteral("CboSnooze"))->setCurrentIndex(GetParam().entry);
    popup->findChild<QPushButton *>(QStringLiteral("CmdSnooze"))->click();
    QTimer *snooze = timer(popup, "TmrSnooze");
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(snooze->isActive());
    EXPECT_EQ(snooze->interval(), 60000);
    EXPECT_EQ(FrmAlarm::findOpen(QStringLiteral("i1")), popup) << "a snoozed pop-up stays open";

    tick(snooze, GetParam().ticksUntilBack - 1);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(character.calls.isEmpty());
    tick(snooze);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_FALSE(snooze->isActive());
    EXPECT_EQ(character.calls, QStringList{QStringLiteral("reminder:Tea")});
    EXPECT_TRUE(timer(popup, "TmrPop")->isActive()) << "it slides in anew";
    finishSlide(popup);
    EXPECT_EQ(popup->geometry(), placed) << "at its old place";
}

const SnoozeCase snoozeCases[] = {
        {"FiveMinutes", 0, 5}, {"TwentyFive", 4, 25}, {"OneHour", 6, 60}, {"EightHours", 7, 480}};

INSTANTIATE_TEST_SUITE_P(Entries, SnoozeTest, testing::ValuesIn(snoozeCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(FrmAlarmTest, ClosingASnoozedPopupStopsItsTimer)
{
    FrmAlarm *popup = open(QStringLiteral("i1"));
    popup->findChild<QPushButton *>(QStringLiteral("CmdSnooze"))->click();
    QPointer<QTimer> snooze = timer(popup, "TmrSnooze");
    popup->close();
    EXPECT_TRUE(!snooze || !snooze->isActive());
    EXPECT_EQ(FrmAlarm::findOpen(QStringLiteral("i1")), nullptr);
}

TEST_F(FrmAlarmTest, ASnoozedReminderFallingDueAgainGetsNoSecondPopup)
{
    auto alarm = std::make_unique<ClsAlarm>();
    alarm->MyTime = QTime(9, 0, 0);
    const QString key = AlarmStore::NewKey();
    store.AddAlarm(std::move(alarm), key);
    clock.set(QDateTime(QDate(2026, 12, 5), QTime(9, 0, 2)));
    panel.CheckReminders();
    ASSERT_EQ(FrmAlarm::openPopups().size(), 1);
    FrmAlarm *popup = FrmAlarm::openPopups().first();
    QTRY_VERIFY(popup->isVisible());
    popup->findChild<QPushButton *>(QStringLiteral("CmdSnooze"))->click();
    clock.advanceSeconds(5);
    panel.CheckReminders();
    EXPECT_EQ(FrmAlarm::openPopups().size(), 1);
}

class UrlCatcher final : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

TEST_F(FrmAlarmTest, ShowsTheMessageWithLinksThatOpenOutside)
{
    FrmAlarm *popup =
            open(QStringLiteral("i1"), QStringLiteral("See www.a.org or mail ann@x.org <now>"));
    auto *title = popup->findChild<QLabel *>(QStringLiteral("LblTitle"));
    EXPECT_TRUE(title->text().startsWith(QStringLiteral("::: Quillomi ::: ")));
    EXPECT_TRUE(title->text().endsWith(u':'));

    auto *browser = popup->findChild<Browser *>(QStringLiteral("WebBrwAlarm"));
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->bodyOuterText(), QStringLiteral("See www.a.org or mail ann@x.org <now>"));
    EXPECT_TRUE(browser->bodyInnerHtml().contains(
            QStringLiteral("<a target=\"_blank\" href=\"http://www.a.org\">www.a.org</a>")));

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    auto *view = browser->findChild<QTextBrowser *>();
    emit view->anchorClicked(QUrl(QStringLiteral("http://www.a.org")));
    emit view->anchorClicked(QUrl(QStringLiteral("mailto:ann@x.org")));
    emit view->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    EXPECT_EQ(catcher.urls, (QList<QUrl>{QUrl(QStringLiteral("http://www.a.org")),
                                         QUrl(QStringLiteral("mailto:ann@x.org"))}));
}

} // namespace

#include "FrmAlarmTest.moc"
