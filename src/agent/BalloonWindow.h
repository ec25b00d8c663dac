#pragma once

#include "agent/BalloonLayout.h"

#include <QElapsedTimer>
#include <QFont>
#include <QRect>
#include <QTimer>
#include <QWidget>

// The word balloon beside a character: a speech bubble that reveals its words as the voice
// reaches them, or a thought cloud. Never takes focus; shaped so only the bubble is there.
class BalloonWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BalloonWindow)

public:
    // While the pointer rests on a balloon that is due to go, it looks again this often.
    static constexpr std::chrono::milliseconds HoverRecheck{400};

    explicit BalloonWindow(QWidget *parent = nullptr);
    ~BalloonWindow() override;

    void setBalloonFont(const QFont &font)
    {
        m_font = font;
        m_measuredWidth = -1;
    }
    // Opens the balloon for a text beside the character's rectangle (screen coordinates).
    void present(const QString &text, bool thought, const QRect &character);
    void reveal(int shownCharacters);
    // The character moved: keep pointing at it.
    void follow(const QRect &character);
    // The words are out: stay until the whole text has been up for its reading time (and
    // while the pointer rests on the balloon), then go.
    void finish();
    void dismiss();

    QString text() const { return m_text; }
    int revealed() const { return m_revealed; }
    bool isThought() const { return m_thought; }
    const BalloonLayout &layout() const { return m_layout; }
    // Milliseconds until the balloon goes; -1 while it is not going.
    int lingerRemainingMs() const { return m_linger.isActive() ? m_linger.remainingTime() : -1; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void relayout();
    void lingerEnded();
    bool pointerRests() const;
    QPainterPath shape() const;

    QFont m_font;
    QString m_text;
    QRect m_character;
    BalloonLayout m_layout;
    int m_measuredWidth = -1; // the screen width m_layout's lines are for; -1: none
    int m_revealed = 0;
    bool m_thought = false;
    QTimer m_linger;
    QElapsedTimer m_wholeTextSince; // since the last word came out
};
