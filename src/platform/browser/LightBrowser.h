#pragma once

#include "platform/browser/Browser.h"

class QTextBrowser;

// The light browser: local pages only ("about:blank" and files), drawn by Qt's rich text.
// Links open outside: web addresses in the user's browser, "mailto:" in the mail program.
class LightBrowser final : public Browser
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LightBrowser)

public:
    explicit LightBrowser(QWidget *parent = nullptr);

    void navigate(const QUrl &address) override;
    void goBack() override;
    void goForward() override;
    void refresh() override;
    void stop() override;
    bool isBusy() const override { return m_busy; }
    QUrl currentAddress() const override { return m_address; }

    void setBodyText(const QString &text) override;
    QString bodyInnerHtml() const override;
    void setBodyInnerHtml(const QString &html) override;
    QString bodyOuterText() const override;
    void setDesignMode(bool on) override;
    void paste() override;
    void setContextMenuAllowed(bool allowed) override;

    // Schemes handed to the desktop when a link is clicked.
    static bool isOpenable(const QUrl &address);

private:
    void load(const QUrl &address);
    void follow(const QUrl &address);
    void complete();

    QTextBrowser *m_view;
    QUrl m_address;
    QString m_bodyHtml;
    bool m_busy = false;
    bool m_pending = false;
};
