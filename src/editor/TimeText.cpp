#include "TimeText.h"

#include <cmath>
#include <cstdio>

namespace {

// Far beyond any file's length, and small enough for llround.
constexpr double kTimeTextLimitSeconds = 1e12;

bool TimeTextShowsZero(double seconds)
{
    return !std::isfinite(seconds) || seconds < 0;
}

double TimeTextClamped(double seconds)
{
    return seconds > kTimeTextLimitSeconds ? kTimeTextLimitSeconds : seconds;
}

} // namespace

AnsiString FormatTime(double seconds)
{
    if (TimeTextShowsZero(seconds))
        return "0:00.00";
    const long long hundredths = std::llround(TimeTextClamped(seconds) * 100);
    const long long rest = hundredths % 6000;
    char text[40];
    std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", hundredths / 6000, rest / 100,
                  rest % 100);
    return text;
}

AnsiString FormatTimeShort(double seconds)
{
    if (TimeTextShowsZero(seconds))
        return "0:00";
    const long long whole = std::llround(TimeTextClamped(seconds));
    char text[40];
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}
