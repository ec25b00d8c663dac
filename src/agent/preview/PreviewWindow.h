#pragma once

#include <QWidget>

class AgentCharacter;
class Characters;
class QLineEdit;
class QListWidget;

// The preview tool's control window: the character stands on the desktop; this window
// lists its animations, plays one or all of them and speaks a line.
class PreviewWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreviewWindow)

public:
    PreviewWindow(Characters &characters, AgentCharacter &character, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    void playSelected();
    void playAll();
    void speakLine();

private:
    AgentCharacter &m_character;
    QListWidget *m_animations;
    QLineEdit *m_line;
};
