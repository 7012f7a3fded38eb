// The rules of the CD ripping window that need no window: its texts, the
// preview bar's arithmetic, moving between tracks, and what the end-check
// timer does next during a rip.
//
//   RipText             the window's fixed texts
//   CDDriveCaption      a drive's entry in the drive list
//   RipTotalText, RipProgressText, RipSaveFileName, RipTrackFileName
//   WrapTrack           the next or previous track, wrapping around
//   Preview...          the preview time text, the knob and a click's target
//   TRipTag             the run state beyond a track index
//   RipTimerStepFor     what the end-check timer does for a run state
#pragma once

#include "classlib/Types.h"

#include <cstdint>

namespace RipText {
inline constexpr const char* Caption = "CDリッピング";
inline constexpr const char* DriveFallbackLabel = "DVD/CDドライブ";
inline constexpr const char* NoTime = "--- / ---";
inline constexpr const char* RipCaption = "リッピング(&R)";
inline constexpr const char* CloseCaption = "閉じる(&C)";
inline constexpr const char* AbortCaption = "中止(&S)";
inline constexpr const char* Cancelled = "リッピングが中止されました";
inline constexpr const char* Finished = "リッピングが終了しました";
inline constexpr const char* SaveFilter = "wavファイル|*.wav";
inline constexpr const char* SeekHint = "シークバー ： 再生位置を設定します";
// The preview buttons.
inline constexpr const char* Play = "再生";
inline constexpr const char* Pause = "一時停止";
inline constexpr const char* Stop = "停止";
inline constexpr const char* Previous = "前へ";
inline constexpr const char* Next = "次へ";
} // namespace RipText

// label + "(" + letter + ":)", or "DVD/CDドライブ(" + letter + ":)" without a
// label.
AnsiString CDDriveCaption(const AnsiString& volumeLabel, char letter);
// "全 " + count + " トラック / 合計時間 : " + m:ss.
AnsiString RipTotalText(int trackCount, double totalSeconds);
// "リッピング中...  " + (index + 1) + " / " + count + " トラック"; index from 0.
AnsiString RipProgressText(int trackIndex, int trackCount);
// The name the save dialog offers: count + "個のトラックを出力".
AnsiString RipSaveFileName(int trackCount);
// The file a track is ripped into: the folder of the name chosen in the save
// dialog, then the track's caption + ".wav".
AnsiString RipTrackFileName(const AnsiString& chosenName, const AnsiString& trackCaption);

// track moved by step (+1 or -1) among 1..count: past the last comes 1,
// before 1 the last.
int WrapTrack(int track, int step, int count);

// Preview of a track that starts at startMs and lasts lengthMs, the player
// at positionMs (all from the start of the disc).
// The time played, between 0 and the track's length.
std::int64_t PreviewElapsedMs(std::int64_t startMs, std::int64_t lengthMs, std::int64_t positionMs);
// The track has been played to its end.
bool PreviewTrackEnded(std::int64_t startMs, std::int64_t lengthMs, std::int64_t positionMs);
// m:ss of the time played (at most the length) + " / " + m:ss of the length.
AnsiString PreviewTimeText(std::int64_t elapsedMs, std::int64_t lengthMs);

// The preview bar: its left edge and width, and the knob's width (pixels,
// in the bar's parent).
struct TSeekBarGeometry
{
    int BarLeft;
    int BarWidth;
    int KnobWidth;
};
// The knob's left edge for the time played: the share of the bar's free
// width, rounded, at most the bar's end.
int PreviewKnobLeft(const TSeekBarGeometry& bar, std::int64_t elapsedMs, std::int64_t lengthMs);
// The knob's left edge after a click at x (pixels from the bar's left edge)
// while nothing plays.
int PreviewKnobLeftAtClick(const TSeekBarGeometry& bar, int x);
// Where the player seeks for a click at x while a track plays or pauses.
std::int64_t PreviewSeekForClick(const TSeekBarGeometry& bar, int x, std::int64_t startMs,
                                 std::int64_t lengthMs);

// The run state beyond the index (from 0) of the track being ripped.
enum class TRipTag : int
{
    Cancelled = -1000, // the user cancelled; the timer reports it
    EndShown = -999    // the end message shows, waiting to be hidden
};
constexpr int RipTagValue(TRipTag tag)
{
    return static_cast<int>(tag);
}

// What the end-check timer does next.
enum class TRipTimerStep
{
    HideMessage, // the end message has been read: hide it, stop the timer
    Cancelled,   // report the cancel and give the window back
    Finished,    // the last track is done: report the end, give the window back
    NextTrack    // a track is done: start the next one
};
TRipTimerStep RipTimerStepFor(int tag, int trackCount);
