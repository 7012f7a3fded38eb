#include "FileFacts.h"

#include "BounceWriter.h"
#include "TimeText.h"

#include "classlib/DateTime.h"
#include "classlib/FilePaths.h"
#include "classlib/TextUtils.h"

namespace {

constexpr std::int64_t kKibibyte = 1024;
constexpr std::int64_t kMebibyte = 1024 * kKibibyte;
constexpr std::int64_t kGibibyte = 1024 * kMebibyte;

AnsiString GroupedDigits(double value)
{
    return FormatFloat("###,###,###,##0", value);
}

} // namespace

TFileFacts FileFactsOf(const TWavInfo& info)
{
    TFileFacts facts;
    facts.Name = ExtractFileName(info.Path);
    facts.Path = info.Path;
    facts.Channels = info.Channel == 1 ? "モノラル" : "ステレオ";
    facts.Rate = IntToStr(std::int64_t{info.Rate}) + " Hz";
    facts.BytesPerSecond = GroupedDigits(info.BytesPerSecond);
    facts.BlockSize = IntToStr(info.BlockSize);
    facts.Bits = IntToStr(info.Bit) + " Bit";
    facts.Offset = IntToStr(std::int64_t{info.SampleStart});
    facts.Frames = GroupedDigits(info.SampleSize);
    facts.Duration = FormatTime(info.Duration);
    facts.FileSize = FileSizeFact(info.Size);
    facts.Date = DateTimeToStr(info.Date);
    return facts;
}

AnsiString FileSizeFact(std::int64_t bytes)
{
    // Below 1 GiB the leading part reads as the bounce's size text does.
    if (bytes < kMebibyte)
        return BounceSizeText(bytes);
    if (bytes < kGibibyte)
        return BounceSizeText(bytes) + " ( " +
               FormatFloat("#,###.0 Kbytes", static_cast<double>(bytes) / kKibibyte) + " )";
    return "";
}
