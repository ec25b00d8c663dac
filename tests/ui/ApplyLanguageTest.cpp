#include "ui/ApplyLanguage.h"

#include "base/AppPaths.h"
#include "base/Language.h"
#include "support/TempHome.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A language file whose texts name their own numbers, so every lookup is visible.
const QByteArray TestFile = "[Other]\n"
                            "Other 0\nOther 1\nOther 2\n"
                            "[Window]\n"
                            "Title & Co\n" // 0
                            "One\n"        // 1
                            "Save & Close\n"
                            "Three\n"
                            "Four\n"
                            "Five\n" // 5
                            "<img src=/dev/stdin> Six\n";

class ApplyLanguageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile file(AppPaths::join(AppPaths::programFolder(), "Test.lang"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(TestFile);
        file.close();
        ASSERT_TRUE(LoadLanguage("Test.lang"));
    }

    template <typename T>
    T *add(const QString &name, T *widget)
    {
        widget->setObjectName(name);
        m_layout->addWidget(widget);
        return widget;
    }

    TempHome m_home;
    QWidget m_window;
    QVBoxLayout *m_layout = new QVBoxLayout(&m_window);
};

TEST_F(ApplyLanguageTest, TitleTakesItsNumberAndShowsAmpersandsLiterally)
{
    m_window.setWindowTitle("0");
    ApplyLanguage("[Window]", &m_window);
    EXPECT_EQ(m_window.windowTitle(), "Title & Co");

    QWidget untitled;
    ApplyLanguage("[Window]", &untitled);
    EXPECT_EQ(untitled.windowTitle(), "Title & Co");
}

TEST_F(ApplyLanguageTest, ButtonsTakeNumericCaptionsOnly)
{
    auto *numbered = add("numbered", new QPushButton("2"));
    auto *worded = add("worded", new QPushButton("Keep"));
    auto *empty = add("empty", new QPushButton(""));
    auto *outside = add("outside", new QPushButton("9"));
    auto *tool = add("tool", new QToolButton);
    tool->setText("3");
    ApplyLanguage("[Window]", &m_window);
    // Buttons read "&&" as a literal "&".
    EXPECT_EQ(numbered->text(), "Save && Close");
    EXPECT_EQ(worded->text(), "Keep");
    EXPECT_EQ(empty->text(), "");
    EXPECT_EQ(outside->text(), "9");
    EXPECT_EQ(tool->text(), "Three");
}

TEST_F(ApplyLanguageTest, LabelsAlwaysTakeATextAndShowAmpersandsLiterally)
{
    auto *numbered = add("numbered", new QLabel("2"));
    auto *worded = add("worded", new QLabel("Caption"));
    auto *withBuddy = add("withBuddy", new QLabel("2"));
    withBuddy->setBuddy(add("edit", new QLineEdit("5")));
    auto *rich = add("rich", new QLabel("2"));
    rich->setTextFormat(Qt::RichText);
    auto *picture = add("picture", new QLabel);
    QPixmap pixmap(4, 4);
    pixmap.fill(Qt::red);
    picture->setPixmap(pixmap);
    ApplyLanguage("[Window]", &m_window);
    EXPECT_EQ(numbered->text(), "Save & Close");
    EXPECT_EQ(worded->text(), "Title & Co");       // a word caption reads text 0
    EXPECT_EQ(withBuddy->text(), "Save && Close"); // a buddy makes "&" an access key
    EXPECT_EQ(rich->text(), "Save &amp; Close");
    EXPECT_FALSE(picture->pixmap().isNull());
    EXPECT_EQ(m_window.findChild<QLineEdit *>("edit")->text(), "5"); // texts stay

    // A line that looks like markup is shown as written, never loaded as a picture.
    auto *markup = add("markup", new QLabel("6"));
    ApplyLanguage("[Window]", &m_window);
    EXPECT_EQ(markup->text(), "<img src=/dev/stdin> Six");
    EXPECT_EQ(markup->textFormat(), Qt::PlainText);
}

TEST_F(ApplyLanguageTest, FramesChecksAndRadiosFollowTheirRules)
{
    auto *frame = add("frame", new QGroupBox("1"));
    auto *untitledFrame = add("untitledFrame", new QGroupBox(""));
    auto *inner = new QCheckBox("4", frame);
    auto *zero = add("zero", new QCheckBox("0"));
    auto *worded = add("worded", new QRadioButton("Yes"));
    auto *radio = add("radio", new QRadioButton("5"));
    ApplyLanguage("[Window]", &m_window);
    EXPECT_EQ(frame->title(), "One");
    EXPECT_EQ(untitledFrame->title(), "");
    EXPECT_EQ(inner->text(), "Four"); // controls inside frames are reached
    EXPECT_EQ(zero->text(), "0");
    EXPECT_EQ(worded->text(), "Yes");
    EXPECT_EQ(radio->text(), "Five");
}

TEST_F(ApplyLanguageTest, ListHeadersAndTabsEachTakeTheirOwnNumber)
{
    auto *tree = add("tree", new QTreeWidget);
    tree->setHeaderLabels({"1", "2", "7"});
    tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"3", "4"}));
    auto *table = add("table", new QTableWidget(1, 2));
    table->setHorizontalHeaderLabels({"3", "4"});
    auto *tabs = add("tabs", new QTabWidget);
    tabs->addTab(new QLabel("5"), "1");
    tabs->addTab(new QWidget, "2");
    ApplyLanguage("[Window]", &m_window);
    EXPECT_EQ(tree->headerItem()->text(0), "One");
    EXPECT_EQ(tree->headerItem()->text(1), "Save & Close");
    EXPECT_EQ(tree->headerItem()->text(2), "7");
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "3"); // list contents stay
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "Four");
    EXPECT_EQ(tabs->tabText(0), "One");
    EXPECT_EQ(tabs->tabText(1), "Save && Close");                      // tabs read "&&" as "&"
    EXPECT_EQ(static_cast<QLabel *>(tabs->widget(0))->text(), "Five"); // pages are reached
}

TEST_F(ApplyLanguageTest, MenusKeepSeparatorsAndWordCaptions)
{
    auto *bar = new QMenuBar(&m_window);
    QMenu *file = bar->addMenu("1");
    QAction *open = file->addAction("2");
    QAction *separator = file->addSeparator();
    QAction *dash = file->addAction("-");
    QAction *worded = file->addAction("Recent");
    QMenu *more = file->addMenu("3");
    QAction *deep = more->addAction("4");
    // A context menu owned by the window but added to no widget.
    auto *context = new QMenu(&m_window);
    QAction *contextItem = context->addAction("5");
    ApplyLanguage("[Window]", &m_window);
    EXPECT_EQ(file->title(), "One");
    EXPECT_EQ(open->text(), "Save && Close");
    EXPECT_TRUE(separator->isSeparator());
    EXPECT_EQ(dash->text(), "-");
    EXPECT_EQ(worded->text(), "Recent");
    EXPECT_EQ(more->title(), "Three");
    EXPECT_EQ(deep->text(), "Four");
    EXPECT_EQ(contextItem->text(), "Five");
}

TEST_F(ApplyLanguageTest, EachControlIsTranslatedOnceAndOtherWindowsAreLeftAlone)
{
    auto *tool = add("tool", new QToolButton);
    auto *action = new QAction("2", &m_window);
    tool->setDefaultAction(action);
    m_window.addAction(action);
    QDialog owned(&m_window);
    owned.setWindowTitle("2");
    auto *ownedButton = new QPushButton("3", &owned);
    ApplyLanguage("[Window]", &m_window);
    EXPECT_EQ(action->text(), "Save && Close");
    EXPECT_EQ(tool->text(), "Save && Close"); // shown as "Save & Close"
    EXPECT_EQ(owned.windowTitle(), "2");
    EXPECT_EQ(ownedButton->text(), "3");
}

TEST_F(ApplyLanguageTest, SectionsDoNotShareNumbers)
{
    auto *button = add("button", new QPushButton("2"));
    QWidget other;
    auto *otherButton = new QPushButton("2", &other);
    ApplyLanguage("[Window]", &m_window);
    ApplyLanguage("[Other]", &other);
    EXPECT_EQ(button->text(), "Save && Close");
    EXPECT_EQ(otherButton->text(), "Other 2");
}

TEST_F(ApplyLanguageTest, MissingSectionLeavesDesignTexts)
{
    m_window.setWindowTitle("0");
    auto *one = add("one", new QPushButton("1"));
    auto *label = add("label", new QLabel("2"));
    ApplyLanguage("[Missing]", &m_window);
    EXPECT_EQ(m_window.windowTitle(), "0");
    EXPECT_EQ(one->text(), "1");
    EXPECT_EQ(label->text(), "2");
}

} // namespace
