#include "ui/ModalWindow.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QHash>
#include <QWindow>

namespace {

// How many of these dialogs each owner waits on: the pop-up's edit button can open the row
// editor on the main window while the recurrence dialog already waits on it, and the owner
// may only come back when the last of them has closed.
QHash<const QWidget *, int> &openOnOwner()
{
    static QHash<const QWidget *, int> counts;
    return counts;
}

} // namespace

ModalWindow::ModalWindow(QWidget *parent)
    // A small dialog: no minimise or maximise buttons.
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint)
{}

ModalWindow::~ModalWindow()
{
    releaseOwner();
}

void ModalWindow::ShowModalDlg(QWidget *owner)
{
    m_owner = owner;
    m_ownerKey = owner;
    m_open = true;
    // Transient for its owner from the first map, so the window manager keeps it with the
    // owner and the task bar gives it no entry of its own.
    if (owner) {
        owner->window()->winId();
        winId();
        windowHandle()->setTransientParent(owner->window()->windowHandle());
    }
    show();
    if (owner) {
        ++openOnOwner()[owner];
        owner->setEnabled(false);
    }
    raise();
    activateWindow();

    QPointer<ModalWindow> self = this;
    if (m_open) {
        QEventLoop loop;
        connect(this, &ModalWindow::closed, &loop, &QEventLoop::quit);
        connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (self)
        releaseOwner();
}

void ModalWindow::releaseOwner()
{
    if (!m_ownerKey)
        return;
    auto &counts = openOnOwner();
    const auto it = counts.find(m_ownerKey);
    if (it != counts.end() && --*it <= 0) {
        counts.erase(it);
        if (m_owner)
            m_owner->setEnabled(true);
    }
    m_owner = nullptr;
    m_ownerKey = nullptr;
}

void ModalWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    finish();
}

void ModalWindow::finish()
{
    hide();
    releaseOwner();
    if (m_open) {
        m_open = false;
        emit closed();
    }
}
