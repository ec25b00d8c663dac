#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// How reminder dates and times are written and read as text. New records use one fixed,
// locale-independent form; reading also takes the system's short forms and the en-US forms
// of stores exported on Windows, so old records keep loading when the regional settings
// change.
class DateTimeText final
{
public:
    static QString storeDate(const QDate &date);
    static QString storeTime(const QTime &time);

    // Invalid QDate/QTime when the text is in none of the known forms.
    static QDate parseDate(const QString &text, const QLocale &locale = QLocale::system());
    static QTime parseTime(const QString &text, const QLocale &locale = QLocale::system());

    // What the reminder list shows: the system's short forms, with a four-digit year and
    // with seconds.
    static QString displayDate(const QDate &date, const QLocale &locale = QLocale::system());
    static QString displayTime(const QTime &time, const QLocale &locale = QLocale::system());
    static QString displayDateFormat(const QLocale &locale);
    static QString displayTimeFormat(const QLocale &locale);

    // "December 05 2026 , Saturday", names in the system's language.
    static QString announceDate(const QDate &date, const QLocale &locale = QLocale::system());
    // "03:04 PM": 12-hour clock with the system's day-half marker.
    static QString announceTime(const QTime &time, const QLocale &locale = QLocale::system());
};
