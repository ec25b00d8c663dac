#pragma once

#include <QPointer>
#include <QWidget>

// A dialog that is modal to its owner only: the owner is disabled while it is open, and
// the caller waits in a local event loop, so timers, the character and pop-ups keep going.
class ModalWindow : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModalWindow)

public:
    explicit ModalWindow(QWidget *parent = nullptr);
    ~ModalWindow() override;

    // Shows the dialog, disables `owner` and returns once the dialog has closed.
    void ShowModalDlg(QWidget *owner);
    bool isOpen() const { return m_open; }

signals:
    void closed();

protected:
    // Closing in any way (OK, Cancel, the close box) ends up here.
    void closeEvent(QCloseEvent *event) override;
    void finish();

private:
    // Enables the owner again unless another of these dialogs still waits on it.
    void releaseOwner();

    QPointer<QWidget> m_owner;
    const QWidget *m_ownerKey = nullptr; // the owner as counted, even once it is gone
    bool m_open = false;
};
