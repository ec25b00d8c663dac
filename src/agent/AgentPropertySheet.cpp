#include "agent/AgentPropertySheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

AgentPropertySheet::AgentPropertySheet(QWidget *parent)
    : QDialog(parent)
    , m_speech(new QCheckBox(tr("Speak aloud"), this))
    , m_speed(new QSlider(Qt::Horizontal, this))
    , m_characterFont(new QRadioButton(tr("The character's font"), this))
    , m_systemFont(new QRadioButton(tr("The system font"), this))
    , m_default(new QComboBox(this))
{
    setWindowTitle(tr("Character Options"));
    setObjectName(QStringLiteral("agentPropertySheet"));
    m_speech->setObjectName(QStringLiteral("speechOutput"));
    m_speed->setObjectName(QStringLiteral("speakingSpeed"));
    m_characterFont->setObjectName(QStringLiteral("characterFont"));
    m_systemFont->setObjectName(QStringLiteral("systemFont"));
    m_default->setObjectName(QStringLiteral("defaultCharacter"));
    m_speed->setRange(AgentSettings::MinSpeed, AgentSettings::MaxSpeed);
    m_speed->setTickPosition(QSlider::TicksBelow);
    m_speed->setPageStep(1);

    auto *speech = new QGroupBox(tr("Speech"), this);
    auto *speechLayout = new QFormLayout(speech);
    speechLayout->addRow(m_speech);
    auto *speedRow = new QHBoxLayout;
    speedRow->addWidget(new QLabel(tr("Slow"), this));
    speedRow->addWidget(m_speed, 1);
    speedRow->addWidget(new QLabel(tr("Fast"), this));
    speechLayout->addRow(tr("Speaking speed:"), speedRow);

    auto *balloon = new QGroupBox(tr("Word balloon font"), this);
    auto *balloonLayout = new QVBoxLayout(balloon);
    balloonLayout->addWidget(m_characterFont);
    balloonLayout->addWidget(m_systemFont);

    auto *character = new QGroupBox(tr("Default character"), this);
    auto *characterLayout = new QVBoxLayout(character);
    characterLayout->addWidget(m_default);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        emit settingsAccepted(settings());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speech);
    layout->addWidget(balloon);
    layout->addWidget(character);
    layout->addWidget(buttons);
}

AgentPropertySheet::~AgentPropertySheet() = default;

void AgentPropertySheet::setSettings(const AgentSettings &settings,
                                     const QStringList &characterFiles)
{
    m_loaded = settings;
    m_speech->setChecked(settings.speechOutput);
    m_speed->setValue(settings.speakingSpeed);
    m_characterFont->setChecked(settings.useCharacterFont);
    m_systemFont->setChecked(!settings.useCharacterFont);
    m_default->clear();
    m_default->addItems(characterFiles);
    if (!settings.defaultCharacter.isEmpty() && !characterFiles.contains(settings.defaultCharacter))
        m_default->addItem(settings.defaultCharacter);
    m_default->setCurrentText(settings.defaultCharacter);
}

AgentSettings AgentPropertySheet::settings() const
{
    AgentSettings settings = m_loaded;
    settings.speechOutput = m_speech->isChecked();
    settings.speakingSpeed = m_speed->value();
    settings.useCharacterFont = m_characterFont->isChecked();
    settings.defaultCharacter = m_default->currentText();
    return settings;
}
