#pragma once

#include "ui/ModalWindow.h"

#include <array>

class ClsAlarm;
class QButtonGroup;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// How a reminder repeats (weekly on chosen days every n weeks, monthly, yearly) and how the
// series ends. Reads the record when shown and writes it back on OK only.
class FrmRecurrence final : public ModalWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmRecurrence)

public:
    explicit FrmRecurrence(QWidget *parent = nullptr);

    // The record to work on; set before ShowModalDlg.
    ClsAlarm *record = nullptr;

    // Loads the dialog from `record`, shows it modal to `owner` and returns once closed.
    void ShowModalDlg(QWidget *owner);

private:
    void load();
    void showDetails(int kind);
    bool weeksApply() const;
    bool validate();
    void ok();

    std::array<QRadioButton *, 3> m_kind{};
    std::array<QFrame *, 3> m_details{};
    std::array<QRadioButton *, 3> m_end{};
    QButtonGroup *m_kindGroup;
    QButtonGroup *m_endGroup;
    QLineEdit *m_weeks;
    QListWidget *m_days;
    QLabel *m_monthly;
    QLabel *m_yearly;
    QLineEdit *m_endNum;
    QDateEdit *m_endDate;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
