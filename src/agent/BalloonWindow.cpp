#include "agent/BalloonWindow.h"

#include "platform/X11WindowHints.h"

#include <QBitmap>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {

const QColor kFill(255, 253, 240);
const QColor kOutline(40, 40, 48);

} // namespace

BalloonWindow::BalloonWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                              Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setObjectName(QStringLiteral("balloon"));
    m_linger.setSingleShot(true);
    connect(&m_linger, &QTimer::timeout, this, &BalloonWindow::lingerEnded);
}

BalloonWindow::~BalloonWindow() = default;

void BalloonWindow::present(const QString &text, bool thought, const QRect &character)
{
    m_linger.stop();
    m_text = text;
    m_thought = thought;
    m_revealed = thought ? int(text.size()) : 0;
    m_wholeTextSince.invalidate();
    if (thought)
        m_wholeTextSince.start();
    m_character = character;
    m_measuredWidth = -1;
    relayout();
    if (!isVisible()) {
        show();
        X11WindowHints::skipTaskbar(this);
    }
}

void BalloonWindow::reveal(int shownCharacters)
{
    if (shownCharacters <= m_revealed)
        return;
    m_revealed = std::min(shownCharacters, int(m_text.size()));
    if (m_revealed == int(m_text.size()))
        m_wholeTextSince.start();
    update();
}

void BalloonWindow::follow(const QRect &character)
{
    if (!isVisible() || character == m_character)
        return;
    m_character = character;
    relayout();
}

void BalloonWindow::finish()
{
    if (m_revealed < int(m_text.size()) || !m_wholeTextSince.isValid())
        m_wholeTextSince.start();
    m_revealed = int(m_text.size());
    update();
    // A thought was readable all along; spoken words only since the last one came out.
    const qint64 left = BalloonLayout::readingMs(m_text) - m_wholeTextSince.elapsed();
    m_linger.start(int(std::max<qint64>(left, BalloonLayout::MinReadingMs)));
}

void BalloonWindow::lingerEnded()
{
    if (pointerRests())
        m_linger.start(HoverRecheck);
    else
        dismiss();
}

bool BalloonWindow::pointerRests() const
{
    const QRegion shape = mask().isEmpty() ? QRegion(rect()) : mask();
    return isVisible() && shape.contains(mapFromGlobal(QCursor::pos()));
}

void BalloonWindow::dismiss()
{
    m_linger.stop();
    hide();
}

void BalloonWindow::relayout()
{
    QScreen *screen = QGuiApplication::screenAt(m_character.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Following a moving character only places the bubble; the text is broken again only
    // for a new text, font or screen width (a 20 KB text takes milliseconds).
    if (m_measuredWidth != area.width()) {
        m_layout = BalloonLayout::measure(m_text, QFontMetrics(m_font), area.width());
        m_measuredWidth = area.width();
    }
    m_layout.place(m_character, area);
    setGeometry(m_layout.window);
    // The shape with its outline, so clicks beside the bubble reach what is below.
    QBitmap mask(m_layout.window.size());
    mask.fill(Qt::color0);
    {
        QPainter painter(&mask);
        painter.setPen(QPen(Qt::color1, 3));
        painter.setBrush(Qt::color1);
        painter.drawPath(shape());
    }
    setMask(mask);
    update();
}

QPainterPath BalloonWindow::shape() const
{
    QPainterPath path;
    const QRectF body = QRectF(m_layout.body).adjusted(1, 1, -1, -1);
    const QPointF tip = m_layout.tailTip;
    const qreal edgeY = m_layout.below ? body.top() : body.bottom();
    if (m_thought) {
        // A cloud: round puffs along the edge and a trail of bubbles toward the character.
        path.addRoundedRect(body.adjusted(4, 4, -4, -4), 14, 14);
        const qreal r = 7;
        for (qreal x = body.left() + r; x <= body.right() - r; x += r * 1.6) {
            path.addEllipse(QPointF(x, body.top() + r), r, r);
            path.addEllipse(QPointF(x, body.bottom() - r), r, r);
        }
        for (qreal y = body.top() + r; y <= body.bottom() - r; y += r * 1.6) {
            path.addEllipse(QPointF(body.left() + r, y), r, r);
            path.addEllipse(QPointF(body.right() - r, y), r, r);
        }
        const qreal dir = m_layout.below ? -1 : 1;
        path.addEllipse(QPointF(tip.x(), edgeY + dir * 6), 4, 4);
        path.addEllipse(QPointF(tip.x(), edgeY + dir * 13), 2.5, 2.5);
        path.setFillRule(Qt::WindingFill);
        return path.simplified();
    }
    path.addRoundedRect(body, 10, 10);
    QPainterPath tail;
    const qreal half = 7;
    tail.moveTo(std::clamp(tip.x() - half, body.left() + 10, body.right() - 24), edgeY);
    tail.lineTo(tip);
    tail.lineTo(std::clamp(tip.x() + half + 4, body.left() + 24, body.right() - 10), edgeY);
    tail.closeSubpath();
    return path.united(tail).simplified();
}

void BalloonWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The shape is a 1-bit mask in logical pixels: what it lets through beside the soft
    // outline is outline too, never the window's grey.
    painter.fillRect(rect(), kOutline);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kOutline, 2));
    painter.setBrush(kFill);
    painter.drawPath(shape());

    painter.setFont(m_font);
    painter.setPen(kOutline);
    const int first = m_layout.firstVisibleLine(std::max(0, m_revealed - 1));
    const int lineCount = int(m_layout.lines.size());
    const QFontMetrics metrics(m_font);
    int y = m_layout.body.top() + BalloonLayout::Padding + metrics.ascent();
    for (int i = first; i < std::min(lineCount, first + BalloonLayout::MaxVisibleLines); ++i) {
        const BalloonLayout::Line &line = m_layout.lines.at(i);
        // Words appear as the voice reaches them.
        const int visible = std::clamp(m_revealed - line.start, 0, int(line.text.size()));
        if (visible > 0)
            painter.drawText(QPoint(m_layout.body.left() + BalloonLayout::Padding, y),
                             line.text.left(visible));
        y += m_layout.lineHeight;
    }
}
