#include "ui/ApplyLanguage.h"

#include "base/Language.h"

#include <QAbstractItemModel>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <optional>

namespace {

class LanguageApplier final
{
public:
    explicit LanguageApplier(int start)
        : m_start(start)
    {}

    void applyWindow(QWidget *window)
    {
        if (const auto text = lookup(LanguageText::leadingNumber(window->windowTitle())))
            window->setWindowTitle(LanguageText::plain(*text));
        visit(window);
    }

private:
    // The stored text for a design number; nothing when it points outside the file.
    std::optional<QString> lookup(int number) const
    {
        const qsizetype index = qsizetype(m_start) + number;
        if (index < 0 || index >= LangLines().size())
            return std::nullopt;
        return LangLines().at(index);
    }

    void visit(QWidget *widget)
    {
        applyActions(widget->actions());
        if (applyControl(widget))
            return;
        for (QObject *child : widget->children()) {
            auto *childWidget = qobject_cast<QWidget *>(child);
            if (!childWidget)
                continue;
            if (auto *menu = qobject_cast<QMenu *>(childWidget))
                applyMenu(menu);
            else if (!childWidget->isWindow())
                visit(childWidget);
        }
    }

    void applyMenu(QMenu *menu)
    {
        if (m_menus.contains(menu))
            return;
        m_menus.insert(menu);
        applyActions(menu->actions());
    }

    void applyActions(const QList<QAction *> &actions)
    {
        for (QAction *action : actions) {
            if (m_actions.contains(action))
                continue;
            m_actions.insert(action);
            const QString caption = action->text();
            if (!action->isSeparator() && caption != u'-' && LanguageText::isNumeric(caption)) {
                if (const auto text = lookup(LanguageText::leadingNumber(caption))) {
                    // Menus show "&&" as "&". Tool buttons show the icon text, which Qt
                    // derives by stripping one "&" of each pair; given as is, it reads right.
                    action->setText(*text);
                    action->setIconText(*text);
                }
            }
            if (QMenu *submenu = action->menu())
                applyMenu(submenu);
        }
    }

    // Applies the rule for the widget's kind; true when the widget is a control whose
    // insides belong to it (nothing below it is visited).
    bool applyControl(QWidget *widget)
    {
        if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
            if (!frame->title().isEmpty()) {
                if (const auto text = lookup(LanguageText::leadingNumber(frame->title())))
                    frame->setTitle(*text);
            }
            return false;
        }
        if (qobject_cast<QPushButton *>(widget) || qobject_cast<QToolButton *>(widget)) {
            auto *button = static_cast<QAbstractButton *>(widget);
            const auto *tool = qobject_cast<QToolButton *>(widget);
            if ((!tool || !tool->defaultAction()) && !button->text().isEmpty() &&
                LanguageText::isNumeric(button->text())) {
                if (const auto text = lookup(LanguageText::leadingNumber(button->text())))
                    button->setText(*text);
            }
            return true;
        }
        if (qobject_cast<QTreeView *>(widget) || qobject_cast<QTableView *>(widget)) {
            applyHeaders(static_cast<QAbstractItemView *>(widget)->model());
            return true;
        }
        if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                if (const auto text = lookup(LanguageText::leadingNumber(tabs->tabText(i))))
                    tabs->setTabText(i, *text);
            }
            return true;
        }
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            applyLabel(label);
            return true;
        }
        if (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget)) {
            auto *button = static_cast<QAbstractButton *>(widget);
            const int number = LanguageText::leadingNumber(button->text());
            if (number > 0) {
                if (const auto text = lookup(number))
                    button->setText(*text);
            }
            return true;
        }
        return isCompositeControl(widget);
    }

    void applyHeaders(QAbstractItemModel *model)
    {
        if (!model)
            return;
        for (int column = 0; column < model->columnCount(); ++column) {
            const QString caption = model->headerData(column, Qt::Horizontal).toString();
            if (const auto text = lookup(LanguageText::leadingNumber(caption)))
                model->setHeaderData(column, Qt::Horizontal, LanguageText::plain(*text));
        }
    }

    void applyLabel(QLabel *label)
    {
        // A picture shown in a label is not a caption.
        if (!label->pixmap().isNull() || label->movie())
            return;
        const auto text = lookup(LanguageText::leadingNumber(label->text()));
        if (!text)
            return;
        // Only a label with a buddy reads "&" as an access key; the others show it as is.
        // A line of the file is never taken for markup: a label guessing rich text would
        // load what an <img> names, and a FIFO there hangs the program.
        if (label->textFormat() == Qt::RichText) {
            label->setText(LanguageText::plain(*text).toHtmlEscaped());
            return;
        }
        label->setTextFormat(Qt::PlainText);
        label->setText(label->buddy() ? *text : LanguageText::plain(*text));
    }

    static bool isCompositeControl(QWidget *widget)
    {
        return qobject_cast<QAbstractButton *>(widget) ||
               qobject_cast<QAbstractItemView *>(widget) || qobject_cast<QComboBox *>(widget) ||
               qobject_cast<QAbstractSpinBox *>(widget) || qobject_cast<QLineEdit *>(widget) ||
               qobject_cast<QTextEdit *>(widget) || qobject_cast<QPlainTextEdit *>(widget) ||
               qobject_cast<QCalendarWidget *>(widget) || qobject_cast<QAbstractSlider *>(widget) ||
               qobject_cast<QMenuBar *>(widget);
    }

    int m_start;
    QSet<QAction *> m_actions;
    QSet<QMenu *> m_menus;
};

} // namespace

void ApplyLanguage(const QString &section, QWidget *window)
{
    if (!window)
        return;
    const int start = FindSection(section);
    if (start < 0)
        return;
    LanguageApplier(start).applyWindow(window);
}
