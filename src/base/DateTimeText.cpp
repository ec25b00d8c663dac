#include "base/DateTimeText.h"

#include <QStringList>

namespace {

// The C locale stands for "no regional settings"; the program then uses the US forms,
// which is also what stores exported from the Windows original use.
QLocale effective(const QLocale &locale)
{
    if (locale.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

bool hasTwoDigitYearOnly(const QString &format)
{
    return format.contains(QLatin1String("yy")) && !format.contains(QLatin1String("yyyy"));
}

QDate dateIn(const QString &text, const QString &format, const QLocale &locale)
{
    QDate date = locale.toDate(text, format);
    // Two-digit years follow the Windows window 1930..2029.
    if (date.isValid() && hasTwoDigitYearOnly(format) && date.year() < 1930)
        date = date.addYears(100);
    // Only the years the stored form can write: "6/3/-1403" would load once and then be
    // written as a date that no later start reads, and the reminder would be lost.
    if (date.isValid() && (date.year() < 1 || date.year() > 9999))
        return {};
    return date;
}

} // namespace

namespace {

// Digits written by hand: the locale-aware formatter took half of saving 10,000 reminders.
QChar *digits(QChar *at, int value, int count)
{
    for (int i = count - 1; i >= 0; --i, value /= 10)
        at[i] = QChar(u'0' + value % 10);
    return at + count;
}

} // namespace

QString DateTimeText::storeDate(const QDate &date)
{
    if (!date.isValid())
        return QString();
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    if (year < 1 || year > 9999)
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    QString text(10, Qt::Uninitialized);
    QChar *at = digits(text.data(), year, 4);
    *at++ = u'-';
    at = digits(at, month, 2);
    *at++ = u'-';
    digits(at, day, 2);
    return text;
}

QString DateTimeText::storeTime(const QTime &time)
{
    if (!time.isValid())
        return QString();
    QString text(8, Qt::Uninitialized);
    QChar *at = digits(text.data(), time.hour(), 2);
    *at++ = u':';
    at = digits(at, time.minute(), 2);
    *at++ = u':';
    digits(at, time.second(), 2);
    return text;
}

QString DateTimeText::displayDateFormat(const QLocale &locale)
{
    QString format = effective(locale).dateFormat(QLocale::ShortFormat);
    if (hasTwoDigitYearOnly(format))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString DateTimeText::displayTimeFormat(const QLocale &locale)
{
    QString format = effective(locale).timeFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("ss"))) {
        const qsizetype minutes = format.indexOf(QLatin1String("mm"));
        if (minutes >= 0)
            format.insert(minutes + 2, QLatin1String(":ss"));
    }
    return format;
}

QString DateTimeText::displayDate(const QDate &date, const QLocale &locale)
{
    return effective(locale).toString(date, displayDateFormat(locale));
}

QString DateTimeText::displayTime(const QTime &time, const QLocale &locale)
{
    return effective(locale).toString(time, displayTimeFormat(locale));
}

QDate DateTimeText::parseDate(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    QDate date;
    if (trimmed.size() == 10 && trimmed[4] == u'-' && trimmed[7] == u'-') {
        date = QDate::fromString(trimmed, Qt::ISODate);
        if (date.isValid())
            return date;
    }
    const QLocale local = effective(locale);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const std::pair<QString, const QLocale *> forms[] = {
            {displayDateFormat(locale), &local},
            {local.dateFormat(QLocale::ShortFormat), &local},
            {QStringLiteral("M/d/yyyy"), &us},
            {QStringLiteral("M/d/yy"), &us},
    };
    for (const auto &[format, loc] : forms) {
        date = dateIn(trimmed, format, *loc);
        if (date.isValid())
            return date;
    }
    return {};
}

QTime DateTimeText::parseTime(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    // The stored form first, without the cost of a format parser.
    if (trimmed.size() == 8 && trimmed[2] == u':' && trimmed[5] == u':') {
        const QTime time = QTime::fromString(trimmed, Qt::ISODate);
        if (time.isValid())
            return time;
    }
    const QLocale local = effective(locale);
    const QLocale c = QLocale::c();
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const std::pair<QString, const QLocale *> forms[] = {
            {QStringLiteral("HH:mm:ss"), &c},
            {QStringLiteral("H:mm:ss"), &c},
            {QStringLiteral("H:mm"), &c},
            {displayTimeFormat(locale), &local},
            {local.timeFormat(QLocale::ShortFormat), &local},
            {QStringLiteral("h:mm:ss AP"), &us},
            {QStringLiteral("h:mm AP"), &us},
    };
    for (const auto &[format, loc] : forms) {
        const QTime time = loc->toTime(trimmed, format);
        if (time.isValid())
            return time;
    }
    return {};
}

QString DateTimeText::announceDate(const QDate &date, const QLocale &locale)
{
    return effective(locale).toString(date, QStringLiteral("MMMM dd yyyy , dddd"));
}

QString DateTimeText::announceTime(const QTime &time, const QLocale &locale)
{
    return effective(locale).toString(time, QStringLiteral("hh:mm AP"));
}
