#include "classlib/DateTime.h"
#include "classlib/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(DateTimeTest, DatesCountDaysFrom18991230)
{
    struct Case
    {
        int y, m, d;
        double serial;
    };
    const Case cases[] = {
        {1899, 12, 30, 0},  {1900, 1, 1, 2},         {2000, 1, 1, 36526}, {2024, 2, 29, 45351},
        {1, 1, 1, -693593}, {9999, 12, 31, 2958465}, {1899, 12, 29, -1},  {1970, 1, 1, 25569},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        int y, m, d;
        DecodeDate(c.serial, y, m, d);
        EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d) << c.serial;
    }
    // Every 97th day of the whole range survives the trip.
    for (int day = -693593; day <= 2958465; day += 97) {
        int y, m, d;
        DecodeDate(day, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), day);
    }
}

TEST(DateTimeTest, InvalidDatesAndTimesRaise)
{
    const int badDates[][3] = {{2023, 2, 29}, {1900, 2, 29}, {0, 1, 1},     {10000, 1, 1},
                               {2024, 13, 1}, {2024, 0, 1},  {2024, 4, 31}, {2024, 1, 0}};
    for (auto& b : badDates) {
        TDateTime v;
        EXPECT_FALSE(TryEncodeDate(b[0], b[1], b[2], v)) << b[0] << "-" << b[1] << "-" << b[2];
    }
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(2100));
    try {
        EncodeDate(2023, 2, 29);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
}

TEST(DateTimeTest, TimesRoundToTheMillisecond)
{
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    int h, n, s, ms;
    DecodeTime(EncodeTime(7, 5, 2, 45), h, n, s, ms);
    EXPECT_EQ((std::vector<int>{h, n, s, ms}), (std::vector<int>{7, 5, 2, 45}));

    // Just before midnight rounds to the next day's midnight, date included.
    TDateTime late = EncodeDate(2024, 3, 9) + (MSecsPerDay - 0.4) / MSecsPerDay;
    int y, m, d;
    DecodeDate(late, y, m, d);
    DecodeTime(late, h, n, s, ms);
    EXPECT_EQ((std::vector<int>{y, m, d, h, n, s, ms}),
              (std::vector<int>{2024, 3, 10, 0, 0, 0, 0}));

    // Below zero the fraction is still the time of day.
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ((std::vector<int>{y, m, d, h, n}), (std::vector<int>{1899, 12, 29, 6, 0}));

    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 9)), 7);  // a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 10)), 1); // a Sunday
    EXPECT_EQ(DayOfWeek(-1), 6);                      // 1899-12-29, a Friday
}

TEST(DateTimeTest, FormatDateTimePictures)
{
    TDateTime t = EncodeDate(2024, 3, 9) + EncodeTime(7, 5, 2, 45);
    struct Case
    {
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {"yyyy/mm/dd hh:nn:ss", "2024/03/09 07:05:02"},
        {"yy-m-d h:n:s.zzz", "24-3-9 7:5:2.045"},
        {"hh:mm", "07:05"}, // minutes after an hour field
        {"mm/dd hh:mm mm", "03/09 07:05 03"},
        {"YYYY.MM.DD", "2024.03.09"},
        {"yyyy年m月d日 h時n分", "2024年3月9日 7時5分"}, // 年 ends in "N"
        {"'yyyy' \"hh\" yyyy", "yyyy hh 2024"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDateTime(c.format, t), c.text) << c.format;

    char name[80];
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME6, name, sizeof name);
    EXPECT_EQ(FormatDateTime("dddd", t), name);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVMONTHNAME3, name, sizeof name);
    EXPECT_EQ(FormatDateTime("mmm", t), name);
    EXPECT_NE(DateTimeToStr(t).find("2024"), AnsiString::npos) << DateTimeToStr(t);
}

TEST(DateTimeTest, ClockAndSystemForms)
{
    SYSTEMTIME local;
    GetLocalTime(&local);
    TDateTime now = Now();
    EXPECT_LT(std::fabs(now - SystemTimeToDateTime(local)) * SecsPerDay, 2.0);
    EXPECT_EQ(Date(), std::trunc(Date()));
    EXPECT_LT(Time(), 1.0);

    TDateTime t = EncodeDate(2024, 7, 1) + EncodeTime(13, 14, 15, 16);
    SYSTEMTIME st = DateTimeToSystemTime(t);
    EXPECT_EQ(st.wDayOfWeek, 1); // a Monday
    EXPECT_EQ(SystemTimeToDateTime(st), t);
    EXPECT_EQ(FileTimeToDateTime(DateTimeToFileTime(t)), t);
}

} // namespace
