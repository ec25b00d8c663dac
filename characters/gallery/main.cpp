// Renders key frames of a character file into one image:
//   quillomi-gallery CHARFILE OUT.png                 every animation, key frames
//   quillomi-gallery CHARFILE OUT.png --strip A B...  every frame of the named animations
#include "agent/CharacterLoader.h"
#include "agent/CharacterRenderer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

constexpr int LabelWidth = 150;

// Frames at evenly spread times, so long holds do not crowd out the motion.
QList<int> keyFrames(const CharacterData::Animation &a, int count)
{
    QList<int> picks;
    const int total = a.totalMs();
    for (int k = 0; k < count; ++k) {
        const int at = count == 1 ? 0 : int(qint64(total - 1) * k / (count - 1));
        int elapsed = 0, index = 0;
        while (index < a.frames.size() - 1 && elapsed + a.frames[index].durationMs <= at)
            elapsed += a.frames[index++].durationMs;
        if (picks.isEmpty() || picks.last() != index)
            picks.append(index);
    }
    return picks;
}

void drawRow(QPainter &p, const CharacterRenderer &renderer, const CharacterData::Animation &a,
             const QList<int> &frames, QPoint at, int cell, bool shade)
{
    const qreal scale = qreal(cell) / renderer.character()->frameSize.height();
    p.fillRect(QRect(at, QSize(LabelWidth + cell * int(frames.size()), cell)),
               shade ? QColor(0xe6, 0xe8, 0xee) : QColor(0xf4, 0xf5, 0xf8));
    p.setPen(QColor(0x22, 0x2a, 0x33));
    QFont f = p.font();
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(at.x() + 6, at.y() + 4, LabelWidth - 8, 18), Qt::AlignLeft, a.name);
    f.setBold(false);
    f.setPixelSize(11);
    p.setFont(f);
    QString info = QStringLiteral("%1 ms, %2 frames").arg(a.totalMs()).arg(a.frames.size());
    if (a.loops)
        info += QStringLiteral(", loops");
    p.drawText(QRect(at.x() + 6, at.y() + 22, LabelWidth - 8, 16), Qt::AlignLeft, info);
    if (!a.returnAnimation.isEmpty())
        p.drawText(QRect(at.x() + 6, at.y() + 38, LabelWidth - 8, 16), Qt::AlignLeft,
                   QStringLiteral("then %1").arg(a.returnAnimation));
    for (int i = 0; i < frames.size(); ++i) {
        const QImage img = renderer.render(a.frames[frames[i]], std::nullopt, scale);
        p.drawImage(QPoint(at.x() + LabelWidth + i * cell, at.y()), img);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3 || (args.size() > 3 && args[3] != QLatin1String("--strip"))) {
        std::fprintf(stderr, "usage: quillomi-gallery CHARFILE OUT.png [--strip ANIMATION...]\n");
        return 2;
    }
    const CharacterLoadResult loaded = CharacterLoader::load(args[1]);
    if (!loaded) {
        std::fprintf(stderr, "%s\n", qPrintable(loaded.error));
        return 1;
    }
    const CharacterRenderer renderer(loaded.character);
    const CharacterData &c = *loaded.character;

    QList<const CharacterData::Animation *> rows;
    QList<QList<int>> frames;
    int cell = 72, columns = 2, perRow = 8;
    if (args.size() > 3) {
        cell = 96;
        columns = 1;
        perRow = 0;
        for (const QString &name : args.mid(4)) {
            const CharacterData::Animation *a = c.animation(name);
            if (!a) {
                std::fprintf(stderr, "no animation %s\n", qPrintable(name));
                return 1;
            }
            rows.append(a);
            QList<int> all;
            for (int i = 0; i < std::min<qsizetype>(a->frames.size(), 24); ++i)
                all.append(i);
            frames.append(all);
            perRow = std::max(perRow, int(all.size()));
        }
    } else {
        for (const CharacterData::Animation &a : c.animations()) {
            rows.append(&a);
            frames.append(keyFrames(a, perRow));
        }
    }

    const int header = 170;
    const int rowsPerColumn = int((rows.size() + columns - 1) / columns);
    const int columnWidth = LabelWidth + perRow * cell + 12;
    QImage out(columnWidth * columns, header + rowsPerColumn * cell,
               QImage::Format_ARGB32_Premultiplied);
    out.fill(QColor(0xfb, 0xfb, 0xfd));
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Header: the rest pose at 1x and at 64 px, on light and dark ground.
    const CharacterData::Animation *rest = c.animation(c.restAnimation);
    if (rest) {
        p.fillRect(QRect(0, 0, 300, header), QColor(0xf4, 0xf5, 0xf8));
        p.fillRect(QRect(300, 0, 300, header), QColor(0x2b, 0x30, 0x3a));
        for (int dark = 0; dark < 2; ++dark) {
            p.drawImage(QPoint(dark * 300 + 10, 11), renderer.render(rest->frames.first()));
            p.drawImage(QPoint(dark * 300 + 150, 43),
                        renderer.render(rest->frames.first(), MouthShape::Wide2, 0.5));
            p.drawImage(QPoint(dark * 300 + 220, 75),
                        renderer.render(rest->frames.first(), std::nullopt, 0.25, 2.0));
        }
    }
    QFont f = p.font();
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x22, 0x2a, 0x33));
    p.drawText(QRect(620, 14, 600, 30), Qt::AlignLeft, c.name);
    f.setPixelSize(13);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(620, 50, 850, 34), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("%1\n%2 animations, frame %3 x %4, voice %5")
                       .arg(c.description)
                       .arg(c.animations().size())
                       .arg(c.frameSize.width())
                       .arg(c.frameSize.height())
                       .arg(c.voice));
    // The seven mouth shapes for lip sync at 2x, cut to where they differ from the closed one.
    if (rest) {
        const QImage closed = renderer.render(rest->frames.first(), MouthShape::Closed, 2.0);
        const QImage widest = renderer.render(rest->frames.first(), MouthShape::Wide4, 2.0);
        QRect mouth;
        for (int y = 0; y < closed.height(); ++y) {
            for (int x = 0; x < closed.width(); ++x) {
                if (closed.pixel(x, y) != widest.pixel(x, y))
                    mouth |= QRect(x, y, 1, 1);
            }
        }
        mouth = mouth.adjusted(-14, -10, 14, 10).intersected(closed.rect());
        f.setPixelSize(10);
        p.setFont(f);
        for (int m = 0; m < MouthShapeCount; ++m) {
            const QPoint at(620 + m * (mouth.width() + 10), 92);
            p.drawImage(at, renderer.render(rest->frames.first(), MouthShape(m), 2.0).copy(mouth));
            p.drawText(QRect(at.x(), at.y() + mouth.height() + 2, mouth.width(), 14),
                       Qt::AlignHCenter, CharacterData::mouthName(MouthShape(m)));
        }
    }

    for (int i = 0; i < rows.size(); ++i) {
        const int column = i / rowsPerColumn, row = i % rowsPerColumn;
        drawRow(p, renderer, *rows[i], frames[i], QPoint(column * columnWidth, header + row * cell),
                cell, row % 2 == 1);
    }
    p.end();
    if (!out.save(args[2])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
