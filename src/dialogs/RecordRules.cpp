#include "RecordRules.h"

#include "editor/TimeText.h"

#include "classlib/TextUtils.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kRecordDefaultRate = 44100;
constexpr std::int64_t kMebibyte = 1048576;
constexpr std::int64_t kGibibyte = 1073741824;

} // namespace

int RecordRateIndex(std::int32_t storedRate)
{
    auto found = std::find(kRecordRates.begin(), kRecordRates.end(), storedRate);
    if (found == kRecordRates.end())
        found = std::find(kRecordRates.begin(), kRecordRates.end(), kRecordDefaultRate);
    return static_cast<int>(found - kRecordRates.begin());
}

int RecordChannelIndex(std::int32_t storedChannels)
{
    return storedChannels == 1 ? 0 : 1;
}

int RecordDeviceIndex(const std::vector<AnsiString>& names, const AnsiString& stored)
{
    auto found = std::find(names.begin(), names.end(), stored);
    return found == names.end() ? 0 : static_cast<int>(found - names.begin());
}

bool RecordRateUsable(int rate)
{
    return rate >= 1 && rate <= 96000;
}

int RecordTimeLimit(bool limited, int minutes)
{
    if (!limited)
        return -1;
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{minutes} * 60, 0, INT_MAX));
}

bool DiskSpaceExhausted(std::int64_t freeBytes)
{
    return freeBytes < kRecordLowDiskBytes;
}

AnsiString FreeSpaceText(std::int64_t freeBytes)
{
    if (freeBytes < kGibibyte)
        return FormatFloat("#,##0.0 MB", static_cast<double>(freeBytes) / kMebibyte);
    return FormatFloat("#,##0.00 GB", static_cast<double>(freeBytes) / kGibibyte);
}

std::int64_t RemainingRecordSeconds(std::int64_t freeBytes, int rate, int channels)
{
    const std::int64_t perSecond = std::int64_t{rate} * 2 * channels + 44;
    return perSecond > 0 ? std::max<std::int64_t>(freeBytes, 0) / perSecond : 0;
}

AnsiString RecordCapacityText(std::int64_t freeBytes, int rate, int channels)
{
    const double seconds = static_cast<double>(RemainingRecordSeconds(freeBytes, rate, channels));
    return FormatTimeShort(seconds) + " ( 残り容量 " + FreeSpaceText(freeBytes) + " )";
}
