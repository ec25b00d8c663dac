#include "agent/preview/PreviewWindow.h"

#include "agent/AgentCharacter.h"
#include "agent/AgentPropertySheet.h"
#include "agent/Characters.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

PreviewWindow::PreviewWindow(Characters &characters, AgentCharacter &character, QWidget *parent)
    : QWidget(parent)
    , m_character(character)
    , m_animations(new QListWidget(this))
    , m_line(new QLineEdit(tr("Hello! I am %1. Nice to meet you.").arg(character.Name()), this))
{
    setWindowTitle(tr("%1 - Character Preview").arg(character.Name()));
    m_animations->addItems(character.data()->animationNames());
    m_animations->setCurrentRow(0);
    auto *play = new QPushButton(tr("Play"), this);
    auto *all = new QPushButton(tr("Play All"), this);
    auto *stop = new QPushButton(tr("Stop"), this);
    auto *speak = new QPushButton(tr("Speak"), this);
    auto *think = new QPushButton(tr("Think"), this);
    auto *options = new QPushButton(tr("Options..."), this);
    connect(play, &QPushButton::clicked, this, &PreviewWindow::playSelected);
    connect(m_animations, &QListWidget::itemDoubleClicked, this, &PreviewWindow::playSelected);
    connect(all, &QPushButton::clicked, this, &PreviewWindow::playAll);
    connect(stop, &QPushButton::clicked, this, [this] { m_character.StopAll(); });
    connect(speak, &QPushButton::clicked, this, &PreviewWindow::speakLine);
    connect(m_line, &QLineEdit::returnPressed, this, &PreviewWindow::speakLine);
    connect(think, &QPushButton::clicked, this, [this] { m_character.Think(m_line->text()); });
    connect(options, &QPushButton::clicked, this,
            [&characters] { characters.PropertySheet().setVisible(true); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(play);
    buttons->addWidget(all);
    buttons->addWidget(stop);
    buttons->addStretch();
    buttons->addWidget(options);
    auto *speech = new QHBoxLayout;
    speech->addWidget(m_line, 1);
    speech->addWidget(speak);
    speech->addWidget(think);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("%1 animations").arg(m_animations->count()), this));
    layout->addWidget(m_animations, 1);
    layout->addLayout(buttons);
    layout->addLayout(speech);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::playSelected()
{
    if (const QListWidgetItem *item = m_animations->currentItem()) {
        m_character.Show();
        m_character.Play(item->text());
    }
}

void PreviewWindow::playAll()
{
    m_character.Show();
    for (int i = 0; i < m_animations->count(); ++i)
        m_character.Play(m_animations->item(i)->text());
}

void PreviewWindow::speakLine()
{
    m_character.Show();
    m_character.Speak(m_line->text());
}
