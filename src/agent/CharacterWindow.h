#pragma once

#include "agent/CharacterRenderer.h"

#include <QBitmap>
#include <QCache>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QWidget>
#include <optional>

// The character on the desktop: a frameless, always-on-top window that never takes the
// keyboard focus, shaped to the drawn figure so clicks on transparent pixels reach the
// window below (a mask works with and without a compositor; ARGB only adds soft edges).
// It reports clicks and drags; where the character stands is decided by its owner.
class CharacterWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CharacterWindow)

public:
    explicit CharacterWindow(const CharacterRenderer &renderer, QWidget *parent = nullptr);
    ~CharacterWindow() override;

    // Shows a frame; one that looks like the frame on screen costs nothing.
    void showFrame(const CharacterData::Frame *frame, std::optional<MouthShape> mouth);
    QBitmap currentMask() const;
    // Frames drawn so far (each look, mouth and pixel ratio once).
    int renderedCount() const { return m_renders; }

    // Keyboard state as the component reports it: 1 Shift, 2 Ctrl, 4 Alt.
    static int shiftState(Qt::KeyboardModifiers modifiers);

signals:
    void clicked(int button, int shift, const QPoint &screenPos);
    void doubleClicked(int button, int shift, const QPoint &screenPos);
    void dragMoved(const QPoint &topLeft);
    void dragFinished(int shift, const QPoint &screenPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // A drawn frame: the figure's pixels (cut to where it has any) and its input shape.
    struct Rendered
    {
        QImage image;
        QPoint offset; // where the image goes in the window, logical pixels
        QRegion shape;
    };
    quint64 keyOf(const CharacterData::Frame *frame, std::optional<MouthShape> mouth) const;
    const Rendered *rendered(quint64 key, const CharacterData::Frame *frame,
                             std::optional<MouthShape> mouth);

    CharacterRenderer m_renderer;
    QCache<quint64, Rendered> m_cache;
    Rendered m_current;
    quint64 m_currentKey = 0;
    const CharacterData::Frame *m_frame = nullptr;
    std::optional<MouthShape> m_mouth;
    int m_renders = 0;
    QPoint m_pressPos;
    QPoint m_pressTopLeft;
    bool m_pressed = false;
    bool m_dragging = false;
    bool m_translucent = false;
};
