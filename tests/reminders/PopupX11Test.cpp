// Runs on its own Xvfb + openbox + tint2 desktop: the pop-ups meet a real window manager
// and a real bottom panel.
#include "base/Twips.h"
#include "reminders/AlarmStore.h"
#include "reminders/FrmAlarm.h"
#include "reminders/ReminderCharacter.h"
#include "reminders/ReminderPanel.h"
#include "support/TempHome.h"
#include "support/VirtualDesktop.h"
#include "support/VirtualDesktopMain.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

VirtualDesktop *g_desktop = nullptr;

FrmAlarm *openPopup(ReminderPanel *panel, const QString &key)
{
    auto *popup = new FrmAlarm(panel);
    popup->myKey = key;
    popup->ShowAlarm(QStringLiteral("Call Ann at www.example.org"));
    return popup;
}

bool slidIn(FrmAlarm *popup)
{
    QTimer *pop = popup->findChild<QTimer *>(QStringLiteral("TmrPop"));
    return popup->isVisible() && !pop->isActive();
}

TEST(PopupX11, StacksAboveTheBottomPanelOnTop)
{
    TempHome home;
    AlarmStore store;
    ReminderPanel panel(store, ReminderCharacter::silent());
    const QRect work = g_desktop->workArea();
    ASSERT_EQ(work.bottom() + 1, 770) << "tint2 reserves 30 px at the bottom";

    FrmAlarm *first = openPopup(&panel, QStringLiteral("i1"));
    QTRY_VERIFY_WITH_TIMEOUT(slidIn(first), 10000);
    FrmAlarm *second = openPopup(&panel, QStringLiteral("i2"));
    QTRY_VERIFY_WITH_TIMEOUT(slidIn(second), 10000);
    QTest::qWait(300);

    EXPECT_EQ(first->new_y, Twips::fromPixelsY(30));
    EXPECT_EQ(second->new_y, first->new_y + FrmAlarm::StackStep);
    QTRY_COMPARE(first->frameGeometry().bottom() + 1, 770);
    EXPECT_EQ(second->frameGeometry().bottom() + 1, 770 - Twips::toPixelsY(FrmAlarm::StackStep));
    EXPECT_EQ(first->frameGeometry().right() + 1, 1280 - Twips::toPixelsX(FrmAlarm::RightMargin));

    const QString state = g_desktop->run(QStringLiteral("xprop"),
                                         {QStringLiteral("-id"), QString::number(first->winId()),
                                          QStringLiteral("_NET_WM_STATE")});
    EXPECT_TRUE(state.contains(QStringLiteral("_NET_WM_STATE_ABOVE"))) << state.toStdString();
    EXPECT_TRUE(state.contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")))
            << state.toStdString();
    g_desktop->screenshot(QStringLiteral("reminder-popups"));

    // Snoozed, the window leaves the screen; the other stays where it is.
    const QRect secondPlace = second->frameGeometry();
    first->findChild<QPushButton *>(QStringLiteral("CmdSnooze"))->click();
    QTest::qWait(200);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(second->frameGeometry(), secondPlace);
    delete first;
    delete second;
}

} // namespace

int main(int argc, char **argv)
{
    return runOnVirtualDesktop(argc, argv, g_desktop);
}
