#include "agent/CharacterWindow.h"

#include "platform/X11WindowHints.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

// Rendered frames kept per window; loops and idles replay from here (bytes).
constexpr int kCacheBytes = 6 * 1024 * 1024;
// What shows through the figure's soft edge where the 1-bit shape lets it: the dark of the
// outline, not the window's grey (the shape is in logical pixels, coarser than the art at
// a device pixel ratio above 1).
const QColor kEdge(28, 32, 40);

QBitmap maskOf(const QImage &image)
{
    // 1 where the figure is at least half opaque; the art's dark outline hides the hard edge.
    QImage mask(image.size(), QImage::Format_MonoLSB);
    mask.setColorCount(2);
    mask.setColor(0, qRgb(255, 255, 255));
    mask.setColor(1, qRgb(0, 0, 0));
    mask.fill(0);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        uchar *bits = mask.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) >= 128)
                bits[x >> 3] |= uchar(1u << (x & 7));
        }
    }
    return QBitmap::fromImage(mask, Qt::MonoOnly | Qt::ThresholdDither);
}

} // namespace

CharacterWindow::CharacterWindow(const CharacterRenderer &renderer, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                              Qt::WindowDoesNotAcceptFocus)
    , m_renderer(renderer)
    , m_cache(kCacheBytes)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    m_translucent = X11WindowHints::compositorRunning();
    setAttribute(Qt::WA_TranslucentBackground, m_translucent);
    setFixedSize(m_renderer.character()->frameSize);
    setWindowTitle(m_renderer.character()->name);
}

CharacterWindow::~CharacterWindow() = default;

int CharacterWindow::shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

const CharacterWindow::Rendered *CharacterWindow::rendered(const CharacterData::Frame *frame,
                                                           std::optional<MouthShape> mouth)
{
    const qreal ratio = devicePixelRatioF();
    // Frames live as long as the character data, so their address names them.
    const quint64 key = (quint64(reinterpret_cast<quintptr>(frame)) << 4) ^
                        quint64(mouth ? int(*mouth) + 1 : 0) ^ (quint64(ratio * 4) << 60);
    if (const Rendered *hit = m_cache.object(key))
        return hit;
    auto *entry = new Rendered;
    entry->image = m_renderer.render(*frame, mouth, 1.0, ratio);
    QImage unscaled = entry->image;
    if (!qFuzzyCompare(ratio, 1.0))
        unscaled = m_renderer.render(*frame, mouth, 1.0, 1.0);
    entry->mask = maskOf(unscaled);
    const int cost = int(entry->image.sizeInBytes() + unscaled.sizeInBytes() / 32);
    m_cache.insert(key, entry, cost);
    return m_cache.object(key);
}

void CharacterWindow::showFrame(const CharacterData::Frame *frame, std::optional<MouthShape> mouth)
{
    if (!frame || (frame == m_frame && mouth == m_mouth))
        return;
    m_frame = frame;
    m_mouth = mouth;
    const Rendered *entry = rendered(frame, mouth);
    if (!entry)
        return;
    m_image = entry->image;
    // The mask changes far less often than the picture (a moving mouth keeps the outline).
    if (m_mask.isNull() || m_mask.toImage() != entry->mask.toImage()) {
        m_mask = entry->mask;
        setMask(m_mask);
    }
    update();
}

void CharacterWindow::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another pixel ratio: draw the frame afresh, never scaled up.
    if (m_frame && !qFuzzyCompare(m_image.devicePixelRatio(), devicePixelRatioF())) {
        if (const Rendered *entry = rendered(m_frame, m_mouth))
            m_image = entry->image;
    }
    QPainter painter(this);
    if (m_translucent)
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    else
        painter.fillRect(rect(), kEdge);
    painter.drawImage(QPoint(0, 0), m_image);
}

void CharacterWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    X11WindowHints::skipTaskbar(this);
}

void CharacterWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_dragging = false;
        m_pressPos = event->globalPosition().toPoint();
        m_pressTopLeft = pos();
    }
    event->accept();
}

void CharacterWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return;
    const QPoint delta = event->globalPosition().toPoint() - m_pressPos;
    if (!m_dragging && delta.manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    emit dragMoved(m_pressTopLeft + delta);
}

void CharacterWindow::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->globalPosition().toPoint();
    const int shift = shiftState(event->modifiers());
    if (event->button() == Qt::LeftButton) {
        // The release ending a double click is no click of its own.
        const bool pressed = std::exchange(m_pressed, false);
        const bool dragged = std::exchange(m_dragging, false);
        if (dragged)
            emit dragFinished(shift, at);
        else if (pressed)
            emit clicked(1, shift, at);
    } else if (event->button() == Qt::RightButton) {
        emit clicked(2, shift, at);
    } else if (event->button() == Qt::MiddleButton) {
        emit clicked(4, shift, at);
    }
    event->accept();
}

void CharacterWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = false;
        emit doubleClicked(1, shiftState(event->modifiers()), event->globalPosition().toPoint());
    }
    event->accept();
}
