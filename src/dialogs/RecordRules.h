// The rules of the recording window that need no window: its texts, the
// choices restored from the settings, the time limit, and what the free
// space on the target drive allows.
//
//   RecordText            the window's fixed texts
//   kRecordRates          the rates offered, in list order
//   RecordRateIndex, RecordChannelIndex, RecordDeviceIndex   restoring choices
//   RecordRateUsable, RecordTimeLimit
//   DiskSpaceExhausted, FreeSpaceText, RemainingRecordSeconds, RecordCapacityText
#pragma once

#include "classlib/Types.h"

#include <array>
#include <cstdint>
#include <vector>

namespace RecordText {
inline constexpr const char* Caption = "録音";
inline constexpr const char* Start = "録音開始(&R)";
inline constexpr const char* Stop = "録音終了";
inline constexpr const char* Close = "閉じる(&C)";
inline constexpr const char* NoValue = "---";
inline constexpr const char* Mono = "モノラル";
inline constexpr const char* Stereo = "ステレオ";
inline constexpr const char* SaveFilter = "wavファイル(*.wav)|*.wav";
inline constexpr const char* NoDevice = "録音可能なデバイスが存在しません";
inline constexpr const char* OverwriteQuestion =
    "同じ名前のファイルが存在します\rこのまま上書きしてもよろしいですか？";
inline constexpr const char* OverwriteCaption = "上書き確認";
inline constexpr const char* DeviceGone = "このデバイスは使用不可能です";
inline constexpr const char* RateRefused = "このサンプルレートでは録音できません";
inline constexpr const char* DiskFull = "録音可能なディスクスペースがありません";
inline constexpr const char* SaveQuestion = "録音したファイルを保存しますか？";
inline constexpr const char* SaveCaption = "録音したファイルの保存";
inline constexpr const char* DeleteFailed = "録音したファイルの削除に失敗しました";
inline constexpr const char* OpenQuestion = "このファイルを開きますか？";
inline constexpr const char* OpenCaption = "ファイルを開く";
} // namespace RecordText

// Hz, in the order of the rate list.
inline constexpr std::array<int, 7> kRecordRates = {96000, 48000, 44100, 32000, 22050, 11025, 8000};
// The item of a stored rate; 44100's when no item has it.
int RecordRateIndex(std::int32_t storedRate);
// 1 stored channel is the mono item (0); anything else the stereo item (1).
int RecordChannelIndex(std::int32_t storedChannels);
// The first device named as stored; the first device when none is.
int RecordDeviceIndex(const std::vector<AnsiString>& names, const AnsiString& stored);

// A rate the device may be asked for: 1 to 96000 Hz.
bool RecordRateUsable(int rate);
// Seconds to record: the minutes times 60 when limited (at most what an int
// holds), else -1 (no limit).
int RecordTimeLimit(bool limited, int minutes);

// Bytes free below which (or unknown, -1) a recording stops: 1 MiB.
inline constexpr std::int64_t kRecordLowDiskBytes = 1048576;
bool DiskSpaceExhausted(std::int64_t freeBytes);
// "#,##0.0 MB" (bytes / 1048576) below 1 GiB, "#,##0.00 GB" (bytes /
// 1073741824) from there on.
AnsiString FreeSpaceText(std::int64_t freeBytes);
// Seconds the free space holds: free div (rate x 2 x channels + 44).
std::int64_t RemainingRecordSeconds(std::int64_t freeBytes, int rate, int channels);
// m:ss of the remaining seconds + " ( 残り容量 " + the free space + " )".
AnsiString RecordCapacityText(std::int64_t freeBytes, int rate, int channels);
