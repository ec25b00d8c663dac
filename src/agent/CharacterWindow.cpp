#include "agent/CharacterWindow.h"

#include "platform/X11WindowHints.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

// Drawn frames kept per window (bytes): enough for the rest pose, the idle animations and
// speaking of the largest shipped character at 1x, so idling never draws a frame twice.
constexpr int kCacheBytes = 24 * 1024 * 1024;
// What shows through the figure's soft edge where the 1-bit shape lets it: the dark of the
// outline, not the window's grey (the shape is in logical pixels, coarser than the art at
// a device pixel ratio above 1).
const QColor kEdge(28, 32, 40);
constexpr int kStripRows = 32;

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

QBitmap CharacterWindow::currentMask() const
{
    QBitmap mask(size());
    mask.fill(Qt::color0);
    QPainter painter(&mask);
    painter.setClipRegion(m_current.shape);
    painter.fillRect(rect(), Qt::color1);
    return mask;
}

quint64 CharacterWindow::keyOf(const CharacterData::Frame *frame,
                               std::optional<MouthShape> mouth) const
{
    // Frames of a character are numbered by look; a stray frame goes by its address. The
    // mouth matters only where the frame has a slot for it.
    const quint64 look = frame->look >= 0 ? quint64(frame->look)
                                          : (quint64(reinterpret_cast<quintptr>(frame)) << 4);
    const quint64 shape = mouth && frame->canSpeak() ? quint64(int(*mouth) + 1) : 0;
    return (look << 4) ^ shape ^ (quint64(devicePixelRatioF() * 4) << 58) ^
           (frame->look >= 0 ? 0 : quint64(1) << 63);
}

const CharacterWindow::Rendered *CharacterWindow::rendered(quint64 key,
                                                           const CharacterData::Frame *frame,
                                                           std::optional<MouthShape> mouth)
{
    if (const Rendered *hit = m_cache.object(key))
        return hit;
    ++m_renders;
    const qreal ratio = devicePixelRatioF();
    const QImage image = m_renderer.render(*frame, mouth, 1.0, ratio);
    const QImage unscaled =
            qFuzzyCompare(ratio, 1.0) ? image : m_renderer.render(*frame, mouth, 1.0, 1.0);
    auto *entry = new Rendered;
    entry->shape = QRegion(maskOf(unscaled));
    // Only the part with the figure is kept: most of a frame is clear.
    const QRect box = entry->shape.boundingRect();
    const QRectF pixels(QPointF(box.topLeft()) * ratio, QSizeF(box.size()) * ratio);
    entry->image = box.isEmpty() ? QImage() : image.copy(pixels.toAlignedRect());
    entry->image.setDevicePixelRatio(ratio);
    entry->offset = box.topLeft();
    const int cost = int(entry->image.sizeInBytes()) + entry->shape.rectCount() * 16 + 64;
    m_cache.insert(key, entry, cost);
    return m_cache.object(key);
}

void CharacterWindow::showFrame(const CharacterData::Frame *frame, std::optional<MouthShape> mouth)
{
    if (!frame)
        return;
    const quint64 key = keyOf(frame, mouth);
    m_frame = frame;
    m_mouth = mouth;
    if (key == m_currentKey && !m_current.shape.isEmpty())
        return;
    const Rendered *entry = rendered(key, frame, mouth);
    if (!entry)
        return;
    m_currentKey = key;
    // The shape changes less often than the picture (a moving mouth keeps the outline).
    const bool reshape = entry->shape != m_current.shape;
    m_current = *entry;
    if (reshape)
        setMask(m_current.shape);
    update();
}

void CharacterWindow::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another pixel ratio: draw the frame afresh, never scaled up.
    if (m_frame && !qFuzzyCompare(m_current.image.devicePixelRatio(), devicePixelRatioF())) {
        m_currentKey = keyOf(m_frame, m_mouth);
        if (const Rendered *entry = rendered(m_currentKey, m_frame, m_mouth))
            m_current = *entry;
    }
    QPainter painter(this);
    if (m_translucent)
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    // In strips: Qt's raster engine hands a paint of more than about 96 rows to its thread
    // pool, which would wake two more threads on every frame.
    const QRect box(m_current.offset, m_current.image.deviceIndependentSize().toSize());
    const qreal ratio = m_current.image.devicePixelRatio();
    for (int y = box.top(); y <= box.bottom(); y += kStripRows) {
        const QRect strip(box.left(), y, box.width(), std::min(kStripRows, box.bottom() + 1 - y));
        if (!m_translucent)
            painter.fillRect(strip, kEdge);
        const QRectF source(QPointF(0, (y - box.top()) * ratio), QSizeF(strip.size()) * ratio);
        painter.drawImage(QRectF(strip), m_current.image, source);
    }
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
