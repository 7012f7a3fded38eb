#include "RipRules.h"

#include "editor/TimeText.h"

#include "classlib/FilePaths.h"
#include "classlib/TextUtils.h"

#include <algorithm>
#include <cmath>

AnsiString CDDriveCaption(const AnsiString& volumeLabel, char letter)
{
    const AnsiString name =
        volumeLabel.empty() ? AnsiString(RipText::DriveFallbackLabel) : volumeLabel;
    return name + "(" + letter + ":)";
}

AnsiString RipTotalText(int trackCount, double totalSeconds)
{
    return "全 " + IntToStr(trackCount) + " トラック / 合計時間 : " + FormatTimeShort(totalSeconds);
}

AnsiString RipProgressText(int trackIndex, int trackCount)
{
    return "リッピング中...  " + IntToStr(trackIndex + 1) + " / " + IntToStr(trackCount) +
           " トラック";
}

AnsiString RipSaveFileName(int trackCount)
{
    return IntToStr(trackCount) + "個のトラックを出力";
}

AnsiString RipTrackFileName(const AnsiString& chosenName, const AnsiString& trackCaption)
{
    return IncludeTrailingBackslash(ExtractFilePath(chosenName)) + trackCaption + ".wav";
}

int WrapTrack(int track, int step, int count)
{
    if (count < 1)
        return 1;
    const int next = track + step;
    if (next > count)
        return 1;
    if (next < 1)
        return count;
    return next;
}

std::int64_t PreviewElapsedMs(std::int64_t startMs, std::int64_t lengthMs, std::int64_t positionMs)
{
    return std::clamp<std::int64_t>(positionMs - startMs, 0, std::max<std::int64_t>(lengthMs, 0));
}

bool PreviewTrackEnded(std::int64_t startMs, std::int64_t lengthMs, std::int64_t positionMs)
{
    return startMs + lengthMs <= positionMs;
}

AnsiString PreviewTimeText(std::int64_t elapsedMs, std::int64_t lengthMs)
{
    const std::int64_t shown = std::min(elapsedMs, lengthMs);
    return FormatTimeShort(shown / 1000.0) + " / " + FormatTimeShort(lengthMs / 1000.0);
}

int PreviewKnobLeft(const TSeekBarGeometry& bar, std::int64_t elapsedMs, std::int64_t lengthMs)
{
    const int travel = std::max(bar.BarWidth - bar.KnobWidth, 0);
    if (lengthMs <= 0)
        return bar.BarLeft;
    const double share = static_cast<double>(elapsedMs) * travel / static_cast<double>(lengthMs);
    const int offset = static_cast<int>(std::nearbyint(std::clamp(share, 0.0, double(travel))));
    return bar.BarLeft + offset;
}

int PreviewKnobLeftAtClick(const TSeekBarGeometry& bar, int x)
{
    const int last = std::max(bar.BarWidth - bar.KnobWidth - 1, 0);
    return bar.BarLeft + std::clamp(x, 0, last);
}

std::int64_t PreviewSeekForClick(const TSeekBarGeometry& bar, int x, std::int64_t startMs,
                                 std::int64_t lengthMs)
{
    if (bar.BarWidth <= 0)
        return startMs;
    const std::int64_t clamped = std::clamp(x, 0, bar.BarWidth);
    return startMs + lengthMs * clamped / bar.BarWidth;
}

TRipTimerStep RipTimerStepFor(int tag, int trackCount)
{
    if (tag == RipTagValue(TRipTag::EndShown))
        return TRipTimerStep::HideMessage;
    if (tag < 0)
        return TRipTimerStep::Cancelled;
    if (tag >= trackCount - 1)
        return TRipTimerStep::Finished;
    return TRipTimerStep::NextTrack;
}
