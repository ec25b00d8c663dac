// Runs on its own Xvfb + openbox + tint2 desktop: real windows, a real window manager,
// real pointer events through XTEST (xdotool).
#include "agent/AgentCharacter.h"
#include "agent/BalloonWindow.h"
#include "agent/CharacterRuntime.h"
#include "agent/CharacterWindow.h"
#include "agent/Characters.h"
#include "support/TempHome.h"
#include "support/VirtualDesktop.h"
#include "support/VirtualDesktopMain.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

VirtualDesktop *g_desktop = nullptr;

const QString kWobbo = QStringLiteral(QUILLOMI_BUILD_DATA_DIR "/chars/Wobbo_Mini.acs");

// A plain window under the character that notes the clicks reaching it.
class Backdrop final : public QWidget
{
public:
    Backdrop()
        : QWidget(nullptr, Qt::FramelessWindowHint)
    {
        setAutoFillBackground(true);
        setPalette(QPalette(QColor(70, 110, 150)));
    }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

QString xdotool(const QStringList &arguments)
{
    return g_desktop->run(QStringLiteral("xdotool"), arguments).trimmed();
}

// Pointer events reach the program when the machine gets to it: wait for their effect.
bool waitFor(const std::function<bool()> &condition)
{
    return QTest::qWaitFor(condition, 10000);
}

void clickAt(const QPoint &at, int button)
{
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
             QStringLiteral("click"), QString::number(button)});
    // Lets a double-click interval pass, so two clicks stay two clicks.
    QTest::qWait(300);
}

// A point of the figure near its middle, and one in a transparent corner.
std::pair<QPoint, QPoint> opaqueAndClear(const QBitmap &mask)
{
    const QImage image = mask.toImage().convertToFormat(QImage::Format_Mono);
    const QPoint middle(image.width() / 2, image.height() * 2 / 3);
    QPoint opaque(-1, -1);
    for (int r = 0; r < image.width() / 2 && opaque.x() < 0; ++r) {
        for (int dx = -r; dx <= r && opaque.x() < 0; ++dx) {
            const QPoint p = middle + QPoint(dx, r / 2);
            if (image.rect().contains(p) && image.pixelIndex(p) != 0)
                opaque = p;
        }
    }
    QPoint clear(-1, -1);
    for (const QPoint p :
         {QPoint(2, 2), QPoint(image.width() - 3, 2), QPoint(2, image.height() - 3)}) {
        if (image.pixelIndex(p) == 0) {
            clear = p;
            break;
        }
    }
    return {opaque, clear};
}

class RuntimeX11 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(g_desktop, nullptr);
        ASSERT_TRUE(characters.Load(QStringLiteral("Agent0"), kWobbo))
                << characters.lastError().toStdString();
        character = characters(QStringLiteral("Agent0"));
        character->setAutoPopupMenu(false);
        character->setIdleOn(false);
        backdrop.setGeometry(100, 100, 700, 500);
        backdrop.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&backdrop));
        character->runtime().setPosition(QPoint(300, 250));
        character->Show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !character->runtime().isBusy(); }, 10000));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(character->window()));
        QTest::qWait(300);
    }

    TempHome home;
    Characters characters;
    AgentCharacter *character = nullptr;
    Backdrop backdrop;
};

TEST_F(RuntimeX11, ClicksOnTransparentPixelsFallThrough)
{
    QSignalSpy clicks(&characters, &Characters::Click);
    const auto [opaque, clear] = opaqueAndClear(character->window()->currentMask());
    ASSERT_GE(opaque.x(), 0);
    ASSERT_GE(clear.x(), 0);
    const QPoint origin = character->window()->geometry().topLeft();
    EXPECT_EQ(origin, QPoint(300, 250));

    clickAt(origin + clear, 1);
    ASSERT_TRUE(waitFor([&] { return backdrop.presses == 1; }));
    EXPECT_EQ(clicks.size(), 0);

    clickAt(origin + opaque, 1);
    ASSERT_TRUE(waitFor([&] { return clicks.size() == 1; }));
    EXPECT_EQ(clicks[0][0].toString(), QStringLiteral("Agent0"));
    EXPECT_EQ(clicks[0][1].toInt(), 1);
    EXPECT_EQ(QPoint(clicks[0][3].toInt(), clicks[0][4].toInt()), origin + opaque);
    EXPECT_EQ(backdrop.presses, 1);

    clickAt(origin + opaque, 3);
    ASSERT_TRUE(waitFor([&] { return clicks.size() == 2; }));
    EXPECT_EQ(clicks[1][1].toInt(), 2);
    QTest::qWait(1600);
    g_desktop->screenshot(QStringLiteral("agent-click-through"));
}

TEST_F(RuntimeX11, DoubleClickIsOneClickAndOneDoubleClick)
{
    QSignalSpy clicks(&characters, &Characters::Click);
    QSignalSpy doubles(&characters, &Characters::DblClick);
    const auto [opaque, clear] = opaqueAndClear(character->window()->currentMask());
    const QPoint at = character->window()->geometry().topLeft() + opaque;
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
             QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
             QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
    ASSERT_TRUE(waitFor([&] { return doubles.size() == 1; }));
    QTest::qWait(100);
    EXPECT_EQ(clicks.size(), 1);
    EXPECT_EQ(doubles[0][0].toString(), QStringLiteral("Agent0"));
    EXPECT_EQ(doubles[0][1].toInt(), 1);
}

TEST_F(RuntimeX11, StaysOffTheTaskBarAndNeverTakesFocus)
{
    const QString state =
            g_desktop->run(QStringLiteral("xprop"),
                           {QStringLiteral("-id"), QString::number(character->window()->winId()),
                            QStringLiteral("_NET_WM_STATE")});
    EXPECT_TRUE(state.contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")))
            << state.toStdString();
    EXPECT_TRUE(state.contains(QStringLiteral("_NET_WM_STATE_ABOVE"))) << state.toStdString();

    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"),
             QString::number(backdrop.winId())});
    const QString before = xdotool({QStringLiteral("getactivewindow")});
    const auto [opaque, clear] = opaqueAndClear(character->window()->currentMask());
    clickAt(character->window()->geometry().topLeft() + opaque, 1);
    character->Activate(2);
    QTest::qWait(200);
    EXPECT_EQ(xdotool({QStringLiteral("getactivewindow")}), before);
    // Nor does the balloon.
    character->Speak(QStringLiteral("Nobody loses their cursor when I talk, I promise you that."));
    ASSERT_TRUE(QTest::qWaitFor([&] { return character->balloon()->isVisible(); }, 10000));
    QTest::qWait(300);
    EXPECT_EQ(xdotool({QStringLiteral("getactivewindow")}), before);
    g_desktop->screenshot(QStringLiteral("agent-focus"));
}

// The icon clicks through to the program as its own buttons.
void expectTrayClicks(Characters &characters, QSystemTrayIcon *tray, const QString &id)
{
    QSignalSpy clicks(&characters, &Characters::Click);
    const QPoint at = tray->geometry().center();
    clickAt(at, 3);
    clickAt(at, 1);
    ASSERT_TRUE(waitFor([&] { return clicks.size() == 2; }));
    EXPECT_EQ(clicks[0][0].toString(), id);
    EXPECT_EQ(clicks[0][1].toInt(), 4098);
    EXPECT_EQ(clicks[1][1].toInt(), 4097);
}

// A panel that starts after the program, or restarts, still gets every character's icon:
// after Hide it is the only way back.
TEST_F(RuntimeX11, TrayIconDocksInAPanelThatStartsLaterOrRestarts)
{
    QSystemTrayIcon *tray = character->trayIcon();
    ASSERT_NE(tray, nullptr);
    QRect panel(0, g_desktop->workArea().bottom() + 1, 1280, 800);
    ASSERT_TRUE(waitFor([&] { return panel.contains(tray->geometry()); }));
    expectTrayClicks(characters, tray, QStringLiteral("Agent0"));

    g_desktop->stopPanel();
    ASSERT_TRUE(waitFor([] { return !QSystemTrayIcon::isSystemTrayAvailable(); }));
    ASSERT_TRUE(characters.Load(QStringLiteral("Agent1"), kWobbo));
    QSystemTrayIcon *later = characters(QStringLiteral("Agent1"))->trayIcon();
    ASSERT_NE(later, nullptr);
    QTest::qWait(300);
    EXPECT_FALSE(later->geometry().isValid());

    ASSERT_TRUE(g_desktop->startPanel()) << g_desktop->error().toStdString();
    panel = QRect(0, g_desktop->workArea().bottom() + 1, 1280, 800);
    const bool docked = waitFor(
            [&] { return panel.contains(later->geometry()) && panel.contains(tray->geometry()); });
    ASSERT_TRUE(docked) << later->geometry().y() << " " << tray->geometry().y();
    EXPECT_NE(later->geometry(), tray->geometry());
    QTest::qWait(300);
    expectTrayClicks(characters, later, QStringLiteral("Agent1"));
    expectTrayClicks(characters, tray, QStringLiteral("Agent0"));
}

TEST_F(RuntimeX11, DraggingMovesTheCharacterAndRaisesDragComplete)
{
    QSignalSpy drags(&characters, &Characters::DragComplete);
    QSignalSpy clicks(&characters, &Characters::Click);
    const auto [opaque, clear] = opaqueAndClear(character->window()->currentMask());
    const QPoint start = character->window()->geometry().topLeft() + opaque;
    xdotool({QStringLiteral("mousemove"), QString::number(start.x()), QString::number(start.y()),
             QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int step = 1; step <= 10; ++step) {
        xdotool({QStringLiteral("mousemove"), QString::number(start.x() + step * 12),
                 QString::number(start.y() + step * 6)});
        QTest::qWait(30);
    }
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    ASSERT_TRUE(waitFor([&] { return drags.size() == 1; }));
    EXPECT_EQ(clicks.size(), 0);
    EXPECT_EQ(drags[0][1].toInt(), 1);
    EXPECT_EQ(character->runtime().position(), QPoint(300 + 120, 250 + 60));
    EXPECT_EQ(character->window()->geometry().topLeft(), QPoint(300 + 120, 250 + 60));
    EXPECT_EQ(character->Left(), 420);
}

TEST_F(RuntimeX11, WalksAcrossTheScreenAndHidesForGood)
{
    QSignalSpy hides(&characters, &Characters::Hide);
    character->MoveTo(5000, 5000); // kept on the screens
    character->Speak(QStringLiteral("Hello there, I am over here now."));
    character->Hide();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !hides.isEmpty(); }, 20000));
    EXPECT_EQ(character->runtime().position(),
              QPoint(1280 - character->Width(), 800 - character->Height()));
    EXPECT_FALSE(character->window()->isVisible());
    EXPECT_EQ(hides.size(), 1);
    EXPECT_EQ(hides[0][0].toString(), QStringLiteral("Agent0"));
    QTest::qWait(200);
    EXPECT_EQ(hides.size(), 1);
}

} // namespace

int main(int argc, char **argv)
{
    return runOnVirtualDesktop(argc, argv, g_desktop);
}
