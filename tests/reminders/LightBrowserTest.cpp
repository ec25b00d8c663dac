#include "platform/browser/LightBrowser.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

TEST(LightBrowserTest, NavigationCompletesFromTheEventLoop)
{
    LightBrowser browser;
    QSignalSpy before(&browser, &Browser::beforeNavigation);
    QSignalSpy completed(&browser, &Browser::navigationCompleted);
    browser.navigate(QUrl(QStringLiteral("about:blank")));
    EXPECT_TRUE(browser.isBusy());
    EXPECT_EQ(before.count(), 1);
    EXPECT_EQ(completed.count(), 0) << "navigate returns at once";
    ASSERT_TRUE(completed.wait(1000));
    EXPECT_FALSE(browser.isBusy());
    EXPECT_EQ(browser.currentAddress(), QUrl(QStringLiteral("about:blank")));
    EXPECT_TRUE(browser.bodyOuterText().isEmpty());
}

TEST(LightBrowserTest, LoadsALocalPage)
{
    QTemporaryDir dir;
    QFile page(dir.filePath(QStringLiteral("p.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<p>Dear <b>diary</b></p>");
    page.close();
    LightBrowser browser;
    QSignalSpy completed(&browser, &Browser::navigationCompleted);
    browser.navigate(QUrl::fromLocalFile(page.fileName()));
    ASSERT_TRUE(completed.wait(1000));
    EXPECT_EQ(browser.bodyOuterText(), QStringLiteral("Dear diary"));
}

TEST(LightBrowserTest, BodyTextIsShownAsTyped)
{
    LightBrowser browser;
    browser.setBodyText(QStringLiteral("<b>not bold</b> & more\r\nline"));
    EXPECT_EQ(browser.bodyInnerHtml(),
              QStringLiteral("&lt;b&gt;not bold&lt;/b&gt; &amp; more<br>line"));
    EXPECT_EQ(browser.bodyOuterText(), QStringLiteral("<b>not bold</b> & more\nline"));
}

TEST(LightBrowserTest, DesignModeEditsAndPastesIntoThePage)
{
    LightBrowser browser;
    browser.setBodyInnerHtml(QStringLiteral("Hello"));
    browser.setDesignMode(true);
    auto *view = browser.findChild<QTextBrowser *>();
    ASSERT_FALSE(view->isReadOnly());
    view->moveCursor(QTextCursor::End);
    // A page copied from a web browser: only its text arrives, by the command and by Ctrl+V.
    const auto copyRich = [] {
        auto *data = new QMimeData;
        data->setText(QStringLiteral(" world"));
        data->setHtml(QStringLiteral("<b style='color:red'> world</b><img src='x.png'>"));
        QApplication::clipboard()->setMimeData(data);
    };
    copyRich();
    browser.paste();
    EXPECT_EQ(browser.bodyOuterText(), QStringLiteral("Hello world"));
    EXPECT_TRUE(browser.bodyInnerHtml().contains(QStringLiteral("Hello world")));
    EXPECT_FALSE(browser.bodyInnerHtml().contains(QStringLiteral("<img")));
    copyRich();
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(browser.bodyOuterText(), QStringLiteral("Hello world world"));
    EXPECT_FALSE(browser.bodyInnerHtml().contains(QStringLiteral("font-weight")));
    EXPECT_FALSE(browser.bodyInnerHtml().contains(QStringLiteral("<body")));

    browser.setContextMenuAllowed(false);
    EXPECT_EQ(view->contextMenuPolicy(), Qt::NoContextMenu);
}

} // namespace
