// The editor's settings record and the pure rules around it.
//
//   TOption                 the settings that live in one record (colours,
//                           devices and buffers, capture, what to save,
//                           display sizes, trim and automatic regions...)
//   ReadOption, WriteOption the record's keys in an INI object, with their
//                           defaults; nothing is range-checked when read
//   TPlaybackKeys           master volume and loop, written among them
//   TMasterVolumeStep       the six master-volume steps: stored number and
//                           engine factor
//   TInfoPanelMetrics       the info panel's label sizes for a display size
//   InfoRowLefts            where the info panel's labels go
//   PlaybackBufferFor       the engine's buffer size and count for a file
//   RecentFilesToAdd        the RECENT section, as the recent list takes it
//   SettingsPathFor         the settings file of a program
//
// Geometry, master volume, loop, shortcuts, recent files, the rename pane
// and the toolbar lock are kept outside the record (the main window reads
// them into its controls). No windows here, and nothing of the platform:
// the rules work on the settings file's INI content, and build natively
// for fuzzing.
#pragma once

#include "classlib/IniContent.h"
#include "classlib/ValueTypes.h"

#include <cstdint>
#include <vector>

struct TOption
{
    // Colours, 0x00BBGGRR.
    TColor WaveColor = 0x008000;    // wave outside the selection
    TColor BackColor = 0xFFFFFF;    // wave background
    TColor RegWaveColor = 0x00FFFF; // wave inside the selection
    TColor RegBackColor = 0x808000; // selection background
    TColor PreBackColor = 0x0099FF; // background of a selection made from regions
    TColor CenterColor = 0x0000FF;  // line between the two channels
    TColor ZeroColor = 0x808080;    // zero line of each channel
    TColor PosBarColor = 0x0051F9;  // play cursor, overview position mark
    TColor CutBarColor = 0xFF0000;  // cut-bar marks
    TColor RangeColor = 0x000080;   // overview frame of the visible range
    // Playback.
    AnsiString OutDevice = "WAVE_MAPPER"; // product name; no match means the wave mapper
    std::int32_t BufSize = 4096;          // bytes per playback buffer
    std::uint16_t BufCount = 4;           // playback buffers
    // Recording.
    AnsiString InDevice;         // input device name
    std::int32_t InRate = 44100; // Hz
    std::int32_t InChannel = 2;
    bool Limit = false;         // recording time limit on
    std::int32_t LimitTime = 5; // minutes
    // What is saved.
    bool SaveData = true;     // draw caches beside the WAV files
    bool SaveForm = true;     // restore window and pane geometry at start
    bool SaveFileList = true; // the file list
    bool NoCaution = false;   // do not ask before discarding a changed region list
    bool CutToAdd = true;     // region commands use the cut bars
    // Display.
    std::int32_t DispSize = 1; // info panel size step, 1..5
    std::int32_t MarkSize = 1; // ruler and mark size step, 1..5
    bool Stripe = false;       // odd list rows tinted
    std::int32_t PrefPage = 0; // last preferences page
    // Trim.
    std::int32_t TrimLevel = 0;
    std::int32_t TrimPreTime = 0;  // ms
    std::int32_t TrimPostTime = 0; // ms
    // Automatic regions.
    std::int32_t AutoMode = 0;
    std::int32_t AutoLevel = 127;
    std::int32_t AutoPreTime = 0;        // ms
    std::int32_t AutoPostTime = 0;       // ms
    std::int32_t AutoMinLength = 1000;   // ms
    std::int32_t AutoMinInterval = 1000; // ms
    bool AutoCutOnly = false;            // detection yields cut points only
    // Other windows.
    bool ProcessClose = false;    // the processing window closes itself after a bounce
    bool AddRipFile = true;       // ripped files join the file list
    std::int32_t ZeroLevel = 256; // silence threshold of the draw data
    std::int32_t LoadListType =
        1; // rename strings: 1 from the top, 2 from the first selected, 3 selected only

    bool operator==(const TOption&) const = default;
};

// Reads every key of the record; a missing or unreadable key takes its
// default. BUFCOUNT is cut to 16 bits.
TOption ReadOption(const TIniContent& ini);
// The two AUDIO keys kept outside the record but written among its keys.
struct TPlaybackKeys
{
    int MasterVol = 0; // the stored master-volume step
    bool Loop = false;

    bool operator==(const TPlaybackKeys&) const = default;
};
// Writes the record's keys and the playback keys in the settings file's
// order, all but LOADLIST TYPE: the file's last key (WriteLoadListType),
// written after the window's own sections. False when the file cannot hold
// a value (a device name with a line break): that key is left out, and the
// content must not be put on disk.
[[nodiscard]] bool WriteOption(TIniContent& ini, const TOption& option,
                               const TPlaybackKeys& playback);
[[nodiscard]] bool WriteLoadListType(TIniContent& ini, const TOption& option);

// The master-volume steps, in menu order.
struct TMasterVolumeStep
{
    int Stored;       // AUDIO MASTERVOL
    double Factor;    // engine volume
    const char* Name; // the menu item's name
};
constexpr int kMasterVolumeStepCount = 6;
const TMasterVolumeStep& MasterVolumeStep(int index);
// The step of a stored value; any value not listed is step 0 (0 dB).
int MasterVolumeStepOf(int stored);

// The info panel for a display size; Known is false outside 1..5, where the
// labels keep the designed (size 1) fonts and the panel stays where it is.
struct TInfoPanelMetrics
{
    bool Known;
    int CaptionFontSize;
    int CaptionTop;
    int ValueFontSize;
    int ValueTop;
    int PanelHeight;
};
TInfoPanelMetrics InfoPanelMetricsFor(int dispSize);

// The widths, in pixels, the info panel's row of labels is placed by, each
// measured in its own label's font.
struct TInfoRowWidths
{
    int TimeCaption = 0;   // "時間："
    int RegionCaption = 0; // "リージョン："
    int SampleCaption = 0; // "サンプル数："
    int TimeRoom = 0;      // "99:99.99 / 99:99.99", room for the longest time
    int RegionRoom = 0;    // "99:99.99 [ 99:99.99 - 99:99.99 ]"
    int Time = 0;          // the time label's own text
    int Region = 0;        // the region label's own text
    int Samples = 0;       // the sample count's own text
};
// Left edges of the five labels after the first caption, and which labels
// the row shows.
struct TInfoRowLefts
{
    int Time;
    int RegionCaption;
    int Region;
    int SampleCaption;
    int Samples;
    bool SamplesShown = true;       // the sample count and its caption
    bool TimeCaptionShown = true;   // "時間："
    bool RegionCaptionShown = true; // "リージョン："
};
// From the first caption's left edge: the designed places, which leave room
// for the longest times, while the sample count ends inside the panel; else
// places by the labels' own texts. While even those pass the panel's right
// edge, the row gives up what tells least, in turn, so that what it shows
// stays whole and apart: the sample count with its caption, then the time's
// caption, then the region's (a panel too narrow for the two values alone
// shows them so).
TInfoRowLefts InfoRowLefts(int firstLeft, const TInfoRowWidths& widths, int panelWidth);

// The engine's buffers for a file of channels and rate: the size halved for
// mono, the count scaled by rate / 44100 above 44100, both rounded half to
// even. A stored size below 256 (or negative) gives 256.
struct TPlaybackBuffers
{
    int Size;
    int Count;
};
TPlaybackBuffers PlaybackBufferFor(std::int32_t bufSize, std::uint16_t bufCount, int channels,
                                   int rate);

// The most paths the recent list keeps.
constexpr int kRecentFileLimit = 10;
// The stored recent files in the order the list takes them (each put first,
// so the file of key "0" ends up newest): keys COUNT - 1 down to 0, COUNT
// held to 0 to limit, empty ones left out.
std::vector<AnsiString> RecentFilesToAdd(const TIniContent& ini, int limit);

// The settings file beside a program: its path with the extension ".ini".
AnsiString SettingsPathFor(const AnsiString& programPath);
