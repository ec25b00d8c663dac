#pragma once

#include "agent/AgentSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSlider;

// The component's own settings sheet: speech on or off, speaking speed, the balloon font
// and the default character. It validates and reports; the owner stores and applies.
class AgentPropertySheet final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AgentPropertySheet)

public:
    explicit AgentPropertySheet(QWidget *parent = nullptr);
    ~AgentPropertySheet() override;

    // Fills the controls; `characterFiles` are the files offered as default character.
    void setSettings(const AgentSettings &settings, const QStringList &characterFiles);
    AgentSettings settings() const;

signals:
    void settingsAccepted(const AgentSettings &settings);

private:
    QCheckBox *m_speech;
    QSlider *m_speed;
    QRadioButton *m_characterFont;
    QRadioButton *m_systemFont;
    QComboBox *m_default;
    AgentSettings m_loaded;
};
