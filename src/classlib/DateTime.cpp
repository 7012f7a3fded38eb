#include "DateTime.h"

#include "Exceptions.h"
#include "TextUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Days from 1899-12-30 to 1970-01-01.
constexpr std::int64_t kUnixEpochDay = 25569;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DateDaysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yearOfEra = y - era * 400;
    std::int64_t dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void DateCivilFromDays(std::int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t dayOfEra = z - era * 146097;
    std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    std::int64_t mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

// The whole day and the millisecond of that day, rounded.
void DateSplit(TDateTime value, std::int64_t& day, std::int64_t& msOfDay)
{
    double whole = std::trunc(value);
    day = static_cast<std::int64_t>(whole);
    msOfDay = std::llround(std::fabs(value - whole) * MSecsPerDay);
    if (msOfDay >= static_cast<std::int64_t>(MSecsPerDay)) {
        msOfDay -= static_cast<std::int64_t>(MSecsPerDay);
        day += value < 0 ? -1 : 1;
    }
}

AnsiString DateLocaleName(LCTYPE first, int index)
{
    char buffer[80] = {};
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, first + index, buffer, sizeof buffer);
    return n > 1 ? AnsiString(buffer, n - 1) : AnsiString();
}

char DateUpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

AnsiString DatePadded(int value, int digits)
{
    AnsiString text = std::to_string(value);
    if (static_cast<int>(text.size()) < digits)
        text.insert(0, digits - text.size(), '0');
    return text;
}

struct DateFields
{
    int year, month, day, hour, minute, second, msec, weekday; // weekday 1 Sunday
};

// The text of one field token (a run of one letter), given whether the last
// field was an hour (m then means minutes).
AnsiString DateFieldText(char letter, int count, const DateFields& f, bool afterHour)
{
    switch (letter) {
    case 'Y':
        return count >= 3 ? DatePadded(f.year, 4) : DatePadded(f.year % 100, 2);
    case 'M':
        if (afterHour && count <= 2)
            return DatePadded(f.minute, count);
        if (count == 3)
            return DateLocaleName(LOCALE_SABBREVMONTHNAME1, f.month - 1);
        if (count >= 4)
            return DateLocaleName(LOCALE_SMONTHNAME1, f.month - 1);
        return DatePadded(f.month, count);
    case 'D': {
        int mondayFirst = (f.weekday + 5) % 7; // the locale's names start on Monday
        if (count == 3)
            return DateLocaleName(LOCALE_SABBREVDAYNAME1, mondayFirst);
        if (count >= 4)
            return DateLocaleName(LOCALE_SDAYNAME1, mondayFirst);
        return DatePadded(f.day, count);
    }
    case 'H':
        return DatePadded(f.hour, std::min(count, 2));
    case 'N':
        return DatePadded(f.minute, std::min(count, 2));
    case 'S':
        return DatePadded(f.second, std::min(count, 2));
    case 'Z':
        return DatePadded(f.msec, count >= 3 ? 3 : 1);
    }
    return AnsiString();
}

DateFields DateFieldsOf(TDateTime value)
{
    DateFields f;
    DecodeDate(value, f.year, f.month, f.day);
    DecodeTime(value, f.hour, f.minute, f.second, f.msec);
    f.weekday = DayOfWeek(value);
    return f;
}

} // namespace

bool IsLeapYear(int Year)
{
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int DaysInMonth(int Year, int Month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12)
        return 0;
    return days[Month - 1] + (Month == 2 && IsLeapYear(Year) ? 1 : 0);
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& value)
{
    if (Year < 1 || Year > 9999 || Day < 1 || Day > DaysInMonth(Year, Month))
        return false;
    value = static_cast<double>(DateDaysFromCivil(Year, Month, Day) + kUnixEpochDay);
    return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& value)
{
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 ||
        MSec > 999)
        return false;
    value = (((Hour * 60.0 + Min) * 60.0 + Sec) * 1000.0 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day)
{
    TDateTime value;
    if (!TryEncodeDate(Year, Month, Day, value))
        throw EConvertError("Invalid argument to date encode");
    return value;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec)
{
    TDateTime value;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, value))
        throw EConvertError("Invalid argument to time encode");
    return value;
}

void DecodeDate(TDateTime value, int& Year, int& Month, int& Day)
{
    std::int64_t day, ms;
    DateSplit(value, day, ms);
    DateCivilFromDays(day - kUnixEpochDay, Year, Month, Day);
}

void DecodeTime(TDateTime value, int& Hour, int& Min, int& Sec, int& MSec)
{
    std::int64_t day, ms;
    DateSplit(value, day, ms);
    MSec = static_cast<int>(ms % 1000);
    Sec = static_cast<int>(ms / 1000 % 60);
    Min = static_cast<int>(ms / 60000 % 60);
    Hour = static_cast<int>(ms / 3600000);
}

int DayOfWeek(TDateTime value)
{
    std::int64_t day, ms;
    DateSplit(value, day, ms);
    // 1899-12-30 was a Saturday (7).
    return static_cast<int>(((day % 7) + 7 + 6) % 7) + 1;
}

TDateTime Now()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return SystemTimeToDateTime(now);
}

TDateTime Date()
{
    return std::trunc(Now());
}

TDateTime Time()
{
    TDateTime now = Now();
    return now - std::trunc(now);
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& time)
{
    TDateTime date = EncodeDate(time.wYear, time.wMonth, time.wDay);
    TDateTime clock = EncodeTime(time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return date >= 0 ? date + clock : date - clock;
}

SYSTEMTIME DateTimeToSystemTime(TDateTime value)
{
    int year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wDayOfWeek = static_cast<WORD>(DayOfWeek(value) - 1);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    time.wMilliseconds = static_cast<WORD>(msec);
    return time;
}

TDateTime FileTimeToDateTime(const FILETIME& utc)
{
    SYSTEMTIME universal, local;
    if (!FileTimeToSystemTime(&utc, &universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        throw EConvertError("Invalid file time");
    return SystemTimeToDateTime(local);
}

FILETIME DateTimeToFileTime(TDateTime local)
{
    SYSTEMTIME localTime = DateTimeToSystemTime(local), universal;
    FILETIME utc = {};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &universal) ||
        !SystemTimeToFileTime(&universal, &utc))
        throw EConvertError("Invalid date for a file time");
    return utc;
}

AnsiString FormatDateTime(const AnsiString& format, TDateTime value)
{
    const DateFields fields = DateFieldsOf(value);
    AnsiString text;
    bool afterHour = false;
    for (size_t i = 0; i < format.size();) {
        size_t length = CharLength(format, i);
        char c = format[i];
        if (length == 1 && (c == '"' || c == '\'')) {
            size_t close = format.find(c, i + 1);
            if (close == AnsiString::npos)
                close = format.size();
            text.append(format, i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        char letter = length == 1 ? DateUpperAscii(c) : 0;
        if (letter == 0 || AnsiString("YMDHNSZ").find(letter) == AnsiString::npos) {
            text.append(format, i, length);
            i += length;
            continue;
        }
        int count = 0;
        while (i < format.size() && DateUpperAscii(format[i]) == letter) {
            ++count;
            ++i;
        }
        text += DateFieldText(letter, count, fields, afterHour);
        afterHour = letter == 'H';
    }
    return text;
}

AnsiString DateTimeToStr(TDateTime value)
{
    SYSTEMTIME time = DateTimeToSystemTime(value);
    char date[80] = {}, clock[80] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof clock);
    return AnsiString(date) + " " + clock;
}
