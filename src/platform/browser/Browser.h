#pragma once

#include <QUrl>
#include <QWidget>

// The embedded browser as the program's windows use it: navigation with a completion
// event, and the loaded page's body. Two kinds exist: a light one for local pages (reminder
// pop-up, diary) and a full web engine in the news reader's own process.
class Browser : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Browser)

public:
    using QWidget::QWidget;
    ~Browser() override;

    // Starts loading and returns at once; navigationCompleted reports the end.
    virtual void navigate(const QUrl &address) = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual void refresh() = 0;
    virtual void stop() = 0;
    virtual bool isBusy() const = 0;
    virtual QUrl currentAddress() const = 0;

    // The document of the loaded page.
    // Shows `text` as plain text: the browser escapes it into HTML.
    virtual void setBodyText(const QString &text) = 0;
    virtual QString bodyInnerHtml() const = 0;
    virtual void setBodyInnerHtml(const QString &html) = 0;
    // The page as plain text.
    virtual QString bodyOuterText() const = 0;
    // Makes the page editable in place.
    virtual void setDesignMode(bool on) = 0;
    // Inserts the clipboard's text at the caret.
    virtual void paste() = 0;
    // Whether the page shows its context menu.
    virtual void setContextMenuAllowed(bool allowed) = 0;

signals:
    void beforeNavigation(const QUrl &address);
    void navigationCompleted(const QUrl &address);
    // A link was followed; the browser itself opens it in the user's browser or mail program.
    void linkFollowed(const QUrl &address);
};
