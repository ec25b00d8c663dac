#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// The one source of "now" for every date rule. Tests and benchmarks install a FixedClock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    static QDateTime currentDateTime();
    static QDate currentDate() { return currentDateTime().date(); }
    static QTime currentTime() { return currentDateTime().time(); }

    // Makes `clock` the program's clock; nullptr goes back to the system clock.
    // The caller keeps ownership and must uninstall before destroying it.
    static void install(const Clock *clock);
};
