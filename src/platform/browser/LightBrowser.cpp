#include "platform/browser/LightBrowser.h"

#include "platform/browser/HtmlText.h"

#include <QDesktopServices>
#include <QFile>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

LightBrowser::LightBrowser(QWidget *parent)
    : Browser(parent)
    , m_view(new QTextBrowser(this))
{
    m_view->setObjectName(QStringLiteral("LightBrowserView"));
    m_view->setOpenLinks(false);
    m_view->setOpenExternalLinks(false);
    // Paste and drop bring the clipboard's text, never its formatting or pictures.
    m_view->setAcceptRichText(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &QTextBrowser::anchorClicked, this, &LightBrowser::follow);
}

bool LightBrowser::isOpenable(const QUrl &address)
{
    const QString scheme = address.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("mailto");
}

void LightBrowser::follow(const QUrl &address)
{
    if (!isOpenable(address))
        return;
    QDesktopServices::openUrl(address);
    emit linkFollowed(address);
}

void LightBrowser::navigate(const QUrl &address)
{
    emit beforeNavigation(address);
    m_busy = true;
    m_address = address;
    // Completion is reported from the event loop, as a real browser does.
    if (!m_pending) {
        m_pending = true;
        QTimer::singleShot(0, this, &LightBrowser::complete);
    }
}

void LightBrowser::complete()
{
    m_pending = false;
    if (!m_busy)
        return;
    load(m_address);
    m_busy = false;
    emit navigationCompleted(m_address);
}

void LightBrowser::load(const QUrl &address)
{
    QString html;
    if (address.isLocalFile()) {
        QFile file(address.toLocalFile());
        if (file.open(QIODevice::ReadOnly))
            html = QString::fromUtf8(file.readAll());
    }
    setBodyInnerHtml(html);
}

void LightBrowser::goBack() {}
void LightBrowser::goForward() {}

void LightBrowser::refresh()
{
    navigate(m_address);
}

void LightBrowser::stop()
{
    m_busy = false;
}

void LightBrowser::setBodyText(const QString &text)
{
    setBodyInnerHtml(HtmlText::fromPlainText(text));
}

QString LightBrowser::bodyInnerHtml() const
{
    if (!m_view->document()->isModified())
        return m_bodyHtml;
    // Edited in place: take the body of what the document holds now.
    const QString whole = m_view->toHtml();
    const qsizetype open = whole.indexOf(QLatin1String("<body"));
    const qsizetype start = open < 0 ? -1 : whole.indexOf(u'>', open);
    const qsizetype end = whole.lastIndexOf(QLatin1String("</body>"));
    if (start < 0 || end < start)
        return whole;
    return whole.mid(start + 1, end - start - 1).trimmed();
}

void LightBrowser::setBodyInnerHtml(const QString &html)
{
    m_bodyHtml = html;
    m_view->setHtml(html);
    m_view->document()->setModified(false);
}

QString LightBrowser::bodyOuterText() const
{
    return m_view->toPlainText();
}

void LightBrowser::setDesignMode(bool on)
{
    m_view->setReadOnly(!on);
    m_view->setTextInteractionFlags(on ? Qt::TextEditorInteraction : Qt::TextBrowserInteraction);
}

void LightBrowser::paste()
{
    m_view->paste();
}

void LightBrowser::setContextMenuAllowed(bool allowed)
{
    m_view->setContextMenuPolicy(allowed ? Qt::DefaultContextMenu : Qt::NoContextMenu);
}
