#include "reminders/ClsAlarm.h"

#include "base/Clock.h"
#include "base/DateTimeText.h"

#include <QStringList>
#include <optional>

namespace {

constexpr qsizetype FieldCount = 16;
const QChar Separator = u'|';
// A record whose subject or message holds the separator is written with those two fields
// escaped and this marker as a seventeenth field; every other record keeps the plain form.
const QString EscapedMarker = QStringLiteral("Esc");

QString escapeField(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == Separator)
            out += QLatin1String("\\v");
        else
            out += c;
    }
    return out;
}

std::optional<QString> unescapeField(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        if (text[i] == u'\\')
            out += u'\\';
        else if (text[i] == u'v')
            out += Separator;
        else
            return std::nullopt;
    }
    return out;
}

std::optional<qint32> number(const QString &text)
{
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

std::optional<bool> boolean(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

} // namespace

ClsAlarm::ClsAlarm()
    : ClsAlarm(Clock::currentDateTime())
{}

ClsAlarm::ClsAlarm(const QDateTime &now)
    : MyDate(now.date())
    , MyTime(now.time())
    , MyRecurrenceEndDate(now.date())
{}

int ClsAlarm::weekDayOf(const QDate &date)
{
    // Qt counts Monday 1 .. Sunday 7; the record counts Sunday 1 .. Saturday 7.
    return date.dayOfWeek() % 7 + 1;
}

void ClsAlarm::setWeekDay(int day, bool on)
{
    if (day >= 1 && day <= 7)
        MyRecurrenceWeekDays[day] = on;
}

bool ClsAlarm::OpenAlarm(const QString &text)
{
    QStringList fields = text.split(Separator);
    if (fields.size() == FieldCount + 1 && fields.last() == EscapedMarker) {
        fields.removeLast();
        const auto msg = unescapeField(fields[1]);
        const auto subj = unescapeField(fields[2]);
        if (!msg || !subj)
            return false;
        fields[1] = *msg;
        fields[2] = *subj;
    }
    if (fields.size() != FieldCount)
        return false;

    const QDate date = DateTimeText::parseDate(fields[0]);
    const QTime time = DateTimeText::parseTime(fields[3]);
    const auto recurrence = number(fields[4]);
    const auto weekNum = number(fields[5]);
    WeekDays days{};
    for (int day = 1; day <= 7; ++day) {
        const auto on = boolean(fields[5 + day]);
        if (!on)
            return false;
        days[day] = *on;
    }
    const auto end = number(fields[13]);
    const auto endNum = number(fields[14]);
    const QDate endDate = DateTimeText::parseDate(fields[15]);
    if (!date.isValid() || !time.isValid() || !recurrence || !weekNum || !end || !endNum ||
        !endDate.isValid())
        return false;

    MyDate = date;
    MyMsg = fields[1];
    MySubj = fields[2];
    MyTime = time;
    MyRecurrence = *recurrence;
    MyRecurrenceWeekNum = *weekNum;
    MyRecurrenceWeekDays = days;
    MyRecurrenceEnd = *end;
    MyRecurrenceEndNum = *endNum;
    MyRecurrenceEndDate = endDate;
    return true;
}

QString ClsAlarm::SaveAlarm() const
{
    // Appended in place: a save writes every record, 10,000 of them in a large list.
    const bool escape = MyMsg.contains(Separator) || MySubj.contains(Separator);
    QString out;
    out.reserve(96 + MyMsg.size() + MySubj.size());
    out += DateTimeText::storeDate(MyDate);
    out += Separator;
    out += escape ? escapeField(MyMsg) : MyMsg;
    out += Separator;
    out += escape ? escapeField(MySubj) : MySubj;
    out += Separator;
    out += DateTimeText::storeTime(MyTime);
    out += Separator;
    out += QString::number(MyRecurrence);
    out += Separator;
    out += QString::number(MyRecurrenceWeekNum);
    for (int day = 1; day <= 7; ++day) {
        out += Separator;
        out += MyRecurrenceWeekDays[day] ? QLatin1String("True") : QLatin1String("False");
    }
    out += Separator;
    out += QString::number(MyRecurrenceEnd);
    out += Separator;
    out += QString::number(MyRecurrenceEndNum);
    out += Separator;
    out += DateTimeText::storeDate(MyRecurrenceEndDate);
    if (escape) {
        out += Separator;
        out += EscapedMarker;
    }
    return out;
}
