// The word balloon's layout (BalloonLayout). Property: for any text, any character
// position (on, beside or off the screen) and any usual screen, the balloon window lies
// inside the screen's available area, and its lines hold the text's words in order.
#include "FuzzSupport.h"
#include "agent/BalloonLayout.h"

#include <QFont>
#include <QFontMetrics>

namespace {

QString rect(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::Reader in(data, size);
    // Screens from 640x480 to 8K, anywhere in a multi-screen desktop; the character may
    // stand partly or wholly off the screen, as while it is dragged.
    const QRect screen(in.integer(-8000, 8000), in.integer(-8000, 8000), in.integer(640, 7680),
                       in.integer(480, 4320));
    const QRect character(screen.x() + in.integer(-1000, 9000),
                          screen.y() + in.integer(-1000, 5000), in.integer(1, 1024),
                          in.integer(1, 1024));
    QFont font;
    font.setPointSize(in.integer(6, 24));
    const QFontMetrics metrics(font);
    const QString text = QString::fromUtf8(in.rest());

    const BalloonLayout layout = BalloonLayout::compute(text, metrics, character, screen);
    const QString where = QStringLiteral("screen ") + rect(screen) + QStringLiteral(" character ") +
                          rect(character) +
                          QStringLiteral(" font %1pt window ").arg(font.pointSize()) +
                          rect(layout.window) + QStringLiteral(" text ") + text;
    FUZZ_CHECK(screen.contains(layout.window), where);
    FUZZ_CHECK(QRect(QPoint(0, 0), layout.window.size()).contains(layout.body), where);
    FUZZ_CHECK(layout.body.contains(QPoint(layout.tailTip.x(), layout.body.center().y())), where);

    // The lines are the text's words in order: nothing lost, nothing added. Blanks are drawn
    // as spaces, so they compare as spaces.
    const auto blanksAsSpaces = [](QString line) {
        for (QChar &c : line) {
            if (c.isSpace() && c != u'\n')
                c = u' ';
        }
        return line;
    };
    qsizetype from = 0;
    for (const BalloonLayout::Line &line : layout.lines) {
        FUZZ_CHECK(line.start >= from && blanksAsSpaces(text.mid(line.start, line.text.size())) ==
                                                 blanksAsSpaces(line.text),
                   where);
        from = line.start + line.text.size();
    }
    QString words = text.simplified();
    words.remove(u' ');
    QString joined;
    for (const BalloonLayout::Line &line : layout.lines)
        joined += line.text;
    joined = joined.simplified().remove(u' ');
    FUZZ_CHECK(joined == words || text.simplified().isEmpty(), where);
    FUZZ_CHECK(layout.firstVisibleLine(int(text.size())) >= 0, where);
    return 0;
}
