#include "reminders/ModalWindow.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWindow>

ModalWindow::ModalWindow(QWidget *parent)
    : QWidget(parent, Qt::Dialog)
{}

ModalWindow::~ModalWindow()
{
    if (m_owner)
        m_owner->setEnabled(true);
}

void ModalWindow::ShowModalDlg(QWidget *owner)
{
    QPointer<QWidget> guardedOwner = owner;
    m_owner = owner;
    m_open = true;
    show();
    if (owner && owner->window()->windowHandle() && windowHandle())
        windowHandle()->setTransientParent(owner->window()->windowHandle());
    if (owner)
        owner->setEnabled(false);
    raise();
    activateWindow();

    QPointer<ModalWindow> self = this;
    if (m_open) {
        QEventLoop loop;
        connect(this, &ModalWindow::closed, &loop, &QEventLoop::quit);
        connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (guardedOwner)
        guardedOwner->setEnabled(true);
    if (self)
        m_owner = nullptr;
}

void ModalWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    finish();
}

void ModalWindow::finish()
{
    hide();
    if (m_owner)
        m_owner->setEnabled(true);
    m_owner = nullptr;
    if (m_open) {
        m_open = false;
        emit closed();
    }
}
