// Stored reminder records (ClsAlarm::OpenAlarm) and the date and time texts inside them.
// Properties: a record that opens saves to a text that opens again to the same record, and
// a date or time read in any of a few locales survives its stored form.
#include "FuzzSupport.h"
#include "base/DateTimeText.h"
#include "reminders/ClsAlarm.h"

#include <QLocale>
#include <array>

namespace {

const std::array<QLocale, 5> &locales()
{
    static const std::array<QLocale, 5> all{
            QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
            QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Japanese, QLocale::Japan),
            QLocale(QLocale::Arabic, QLocale::Egypt)};
    return all;
}

const QDateTime &fixedNow()
{
    static const QDateTime now(QDate(2026, 1, 2), QTime(3, 4, 5));
    return now;
}

void checkDateAndTime(const QString &text, const QLocale &locale)
{
    const QDate date = DateTimeText::parseDate(text, locale);
    if (date.isValid())
        FUZZ_CHECK(DateTimeText::parseDate(DateTimeText::storeDate(date), locale) == date,
                   text + QStringLiteral(" -> ") + DateTimeText::storeDate(date));
    const QTime time = DateTimeText::parseTime(text, locale);
    if (time.isValid())
        FUZZ_CHECK(DateTimeText::parseTime(DateTimeText::storeTime(time), locale) ==
                           QTime(time.hour(), time.minute(), time.second()),
                   text + QStringLiteral(" -> ") + DateTimeText::storeTime(time));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::Reader in(data, size);
    const QLocale &locale = locales()[size_t(in.integer(0, int(locales().size()) - 1))];
    const QString text = QString::fromUtf8(in.rest());

    ClsAlarm record(fixedNow());
    if (record.OpenAlarm(text)) {
        const QString saved = record.SaveAlarm();
        ClsAlarm again(fixedNow());
        FUZZ_CHECK(again.OpenAlarm(saved), text + QStringLiteral("\n saved as \n") + saved);
        FUZZ_CHECK(again.SaveAlarm() == saved, text + QStringLiteral("\n saved as \n") + saved +
                                                       QStringLiteral("\n then as \n") +
                                                       again.SaveAlarm());
        FUZZ_CHECK(again.MyMsg == record.MyMsg && again.MySubj == record.MySubj, saved);
    }

    // Any message and subject, separators and backslashes included, come back as written.
    const qsizetype cut = text.size() / 2;
    ClsAlarm written(fixedNow());
    written.MyMsg = text.left(cut);
    written.MySubj = text.mid(cut);
    ClsAlarm read(fixedNow());
    FUZZ_CHECK(read.OpenAlarm(written.SaveAlarm()), written.SaveAlarm());
    FUZZ_CHECK(read.MyMsg == written.MyMsg && read.MySubj == written.MySubj, written.SaveAlarm());

    if (text.size() <= 64)
        checkDateAndTime(text, locale);
    return 0;
}
