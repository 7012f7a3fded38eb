// Dates and times as TDateTime: days since 1899-12-30, the fraction being
// the time of day (Types.h). Local time throughout, except where a system
// FILETIME (UTC) comes in or goes out.
//
//   building and taking apart   EncodeDate, EncodeTime, DecodeDate, DecodeTime
//   the clock                   Now, Date, Time
//   system forms                SYSTEMTIME, FILETIME (UTC <-> local)
//   text                        FormatDateTime, DateTimeToStr
//
// Years run from 1 to 9999. For a value below zero the whole days count
// back from 1899-12-30 and the fraction's size is still the time of day
// (-1.25 is 1899-12-29 06:00), as the class's other users expect.
#pragma once

#include "Types.h"

#include <windows.h>

constexpr double HoursPerDay = 24;
constexpr double MinsPerDay = 24 * 60;
constexpr double SecsPerDay = 24 * 60 * 60;
constexpr double MSecsPerDay = 24 * 60 * 60 * 1000.0;

bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);

// Raise EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& value);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& value);
// The time is rounded to the nearest millisecond first, so 23:59:59.9996
// is the next day's midnight.
void DecodeDate(TDateTime value, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime value, int& Hour, int& Min, int& Sec, int& MSec);
// 1 Sunday to 7 Saturday.
int DayOfWeek(TDateTime value);

TDateTime Now();
TDateTime Date();
TDateTime Time();

TDateTime SystemTimeToDateTime(const SYSTEMTIME& time);
SYSTEMTIME DateTimeToSystemTime(TDateTime value);
// A file time (UTC) as local date and time, and back; the local offset is
// the one in force at that date.
TDateTime FileTimeToDateTime(const FILETIME& utc);
FILETIME DateTimeToFileTime(TDateTime local);

// Text by a picture, letters in either case:
//   yyyy, yy         year in four or two digits
//   m, mm            month (minutes right after an hour field)
//   mmm, mmmm        the locale's short and long month name
//   d, dd            day;  ddd, dddd  the locale's short and long day name
//   h, hh            hour (24-hour clock)
//   n, nn            minutes;  s, ss  seconds;  z, zzz  milliseconds
//   "..." or '...'   literal text
// Everything else, "/" and ":" included, is copied as it stands, so
// "yyyy/mm/dd hh:nn:ss" gives "2024/03/09 07:05:02".
AnsiString FormatDateTime(const AnsiString& format, TDateTime value);
// The locale's short date and its time form ("2024/03/09 7:05:02").
AnsiString DateTimeToStr(TDateTime value);
