#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The pure part of the phrase speakers: which line of a phrase file comes next, and how a
// line splits into the spoken text and the animation.
namespace PhraseLine {

// Advances `counter` and returns the line it lands on. `fileText` is the whole file, or
// std::nullopt when there is no such file (the line is then empty and the counter keeps
// its new value). Past the last line, or on an empty line, the counter starts again at 0.
QString next(const std::optional<QString> &fileText, int &counter);

// The comma-separated pieces of a line: an empty line has none.
QStringList pieces(const QString &line);

// The counter is a 16-bit count; it wraps to 0 rather than overflowing.
constexpr int MaxCounter = 32767;

} // namespace PhraseLine
