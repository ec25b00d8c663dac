#pragma once

#include <QtGlobal>

// Window layouts of the reminder windows are given in twips (1/1440 inch); Qt positions in
// logical pixels of 1/96 inch, which the desktop scales for HiDPI.
namespace ReminderTwips {
constexpr int PerPixel = 15;
constexpr int toPixels(int twips)
{
    return (twips + (twips >= 0 ? PerPixel / 2 : -PerPixel / 2)) / PerPixel;
}
constexpr int fromPixels(int pixels)
{
    return pixels * PerPixel;
}
} // namespace ReminderTwips
