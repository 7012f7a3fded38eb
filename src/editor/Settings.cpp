#include "Settings.h"

#include "classlib/FileNames.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// One colour key of the COLOR section and its field.
struct TColorKey
{
    const char* Key;
    TColor TOption::*Field;
};

constexpr TColorKey kColorKeys[] = {
    {"WAVE", &TOption::WaveColor},       {"BACK", &TOption::BackColor},
    {"REGWAVE", &TOption::RegWaveColor}, {"REGBACK", &TOption::RegBackColor},
    {"PREBACK", &TOption::PreBackColor}, {"CENTER", &TOption::CenterColor},
    {"ZERO", &TOption::ZeroColor},       {"POSBAR", &TOption::PosBarColor},
    {"CUTBAR", &TOption::CutBarColor},   {"RANGE", &TOption::RangeColor},
};

constexpr TMasterVolumeStep kMasterVolumeSteps[kMasterVolumeStepCount] = {
    {0, 1.0, "vol0"},   {6, 0.5, "vol6"},    {12, 0.25, "vol12"},
    {20, 0.1, "vol20"}, {30, 0.03, "vol30"}, {40, 0.0, "volmute"},
};

constexpr TInfoPanelMetrics kInfoPanelMetrics[] = {
    {true, 8, 6, 9, 5, 20},   {true, 8, 8, 12, 4, 24},  {true, 8, 10, 17, 2, 28},
    {true, 8, 12, 20, 3, 32}, {true, 8, 14, 22, 2, 34},
};

constexpr int kSmallestBufferBytes = 256;

int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

TOption ReadOption(const TIniContent& ini)
{
    const TOption defaults;
    TOption o;
    o.ZeroLevel = ini.ReadInteger("AUDIO", "ZEROLEVEL", defaults.ZeroLevel);
    o.SaveData = ini.ReadBool("SAVE", "DATA", defaults.SaveData);
    o.SaveForm = ini.ReadBool("SAVE", "FORM", defaults.SaveForm);
    o.SaveFileList = ini.ReadBool("SAVE", "FILELIST", defaults.SaveFileList);
    o.NoCaution = ini.ReadBool("SAVE", "NOCAUTION", defaults.NoCaution);
    o.CutToAdd = ini.ReadBool("USE", "CUTTOADD", defaults.CutToAdd);
    o.DispSize = ini.ReadInteger("VIEW", "DISPSIZE", defaults.DispSize);
    o.MarkSize = ini.ReadInteger("VIEW", "MARKSIZE", defaults.MarkSize);
    o.Stripe = ini.ReadBool("VIEW", "STRIPE", defaults.Stripe);
    o.PrefPage = ini.ReadInteger("PREF", "PAGE", defaults.PrefPage);
    o.TrimLevel = ini.ReadInteger("TRIM", "LEVEL", defaults.TrimLevel);
    o.TrimPreTime = ini.ReadInteger("TRIM", "PRETIME", defaults.TrimPreTime);
    o.TrimPostTime = ini.ReadInteger("TRIM", "POSTTIME", defaults.TrimPostTime);
    o.AutoMode = ini.ReadInteger("AUTO", "MODE", defaults.AutoMode);
    o.AutoLevel = ini.ReadInteger("AUTO", "LEVEL", defaults.AutoLevel);
    o.AutoPreTime = ini.ReadInteger("AUTO", "PRETIME", defaults.AutoPreTime);
    o.AutoPostTime = ini.ReadInteger("AUTO", "POSTTIME", defaults.AutoPostTime);
    o.AutoMinLength = ini.ReadInteger("AUTO", "MINLENGTH", defaults.AutoMinLength);
    o.AutoMinInterval = ini.ReadInteger("AUTO", "MININTERVAL", defaults.AutoMinInterval);
    o.ProcessClose = ini.ReadBool("WINDOW", "PROCESS", defaults.ProcessClose);
    o.AddRipFile = ini.ReadBool("RIP", "ADDRIPFILE", defaults.AddRipFile);
    for (const TColorKey& key : kColorKeys)
        o.*key.Field = ini.ReadInteger("COLOR", key.Key, defaults.*key.Field);
    o.OutDevice = ini.ReadString("AUDIO", "OUTDEVICE", defaults.OutDevice);
    o.BufSize = ini.ReadInteger("AUDIO", "BUFSIZE", defaults.BufSize);
    o.BufCount =
        static_cast<std::uint16_t>(ini.ReadInteger("AUDIO", "BUFCOUNT", defaults.BufCount));
    o.InDevice = ini.ReadString("AUDIO", "INDEVICE", defaults.InDevice);
    o.InRate = ini.ReadInteger("AUDIO", "INRATE", defaults.InRate);
    o.InChannel = ini.ReadInteger("AUDIO", "INCHANNEL", defaults.InChannel);
    o.Limit = ini.ReadBool("AUDIO", "LIMIT", defaults.Limit);
    o.LimitTime = ini.ReadInteger("AUDIO", "LIMITTIME", defaults.LimitTime);
    o.AutoCutOnly = ini.ReadBool("AUTO", "CUTONLY", defaults.AutoCutOnly);
    o.LoadListType = ini.ReadInteger("LOADLIST", "TYPE", defaults.LoadListType);
    return o;
}

bool WriteOption(TIniContent& ini, const TOption& o, const TPlaybackKeys& playback)
{
    bool written = true;
    auto keep = [&written](bool ok) { written = written && ok; };
    keep(ini.WriteInteger("AUDIO", "ZEROLEVEL", o.ZeroLevel));
    keep(ini.WriteBool("SAVE", "DATA", o.SaveData));
    keep(ini.WriteBool("SAVE", "FORM", o.SaveForm));
    keep(ini.WriteBool("SAVE", "FILELIST", o.SaveFileList));
    keep(ini.WriteBool("SAVE", "NOCAUTION", o.NoCaution));
    keep(ini.WriteBool("USE", "CUTTOADD", o.CutToAdd));
    keep(ini.WriteInteger("VIEW", "DISPSIZE", o.DispSize));
    keep(ini.WriteInteger("VIEW", "MARKSIZE", o.MarkSize));
    keep(ini.WriteBool("VIEW", "STRIPE", o.Stripe));
    keep(ini.WriteInteger("PREF", "PAGE", o.PrefPage));
    keep(ini.WriteInteger("TRIM", "LEVEL", o.TrimLevel));
    keep(ini.WriteInteger("TRIM", "PRETIME", o.TrimPreTime));
    keep(ini.WriteInteger("TRIM", "POSTTIME", o.TrimPostTime));
    keep(ini.WriteInteger("AUTO", "MODE", o.AutoMode));
    keep(ini.WriteInteger("AUTO", "LEVEL", o.AutoLevel));
    keep(ini.WriteInteger("AUTO", "PRETIME", o.AutoPreTime));
    keep(ini.WriteInteger("AUTO", "POSTTIME", o.AutoPostTime));
    keep(ini.WriteInteger("AUTO", "MINLENGTH", o.AutoMinLength));
    keep(ini.WriteInteger("AUTO", "MININTERVAL", o.AutoMinInterval));
    keep(ini.WriteBool("AUTO", "CUTONLY", o.AutoCutOnly));
    keep(ini.WriteBool("WINDOW", "PROCESS", o.ProcessClose));
    keep(ini.WriteBool("RIP", "ADDRIPFILE", o.AddRipFile));
    for (const TColorKey& key : kColorKeys)
        keep(ini.WriteInteger("COLOR", key.Key, o.*key.Field));
    keep(ini.WriteString("AUDIO", "OUTDEVICE", o.OutDevice));
    keep(ini.WriteInteger("AUDIO", "BUFSIZE", o.BufSize));
    keep(ini.WriteInteger("AUDIO", "BUFCOUNT", o.BufCount));
    keep(ini.WriteInteger("AUDIO", "MASTERVOL", playback.MasterVol));
    keep(ini.WriteBool("AUDIO", "LOOP", playback.Loop));
    keep(ini.WriteString("AUDIO", "INDEVICE", o.InDevice));
    keep(ini.WriteInteger("AUDIO", "INRATE", o.InRate));
    keep(ini.WriteInteger("AUDIO", "INCHANNEL", o.InChannel));
    keep(ini.WriteBool("AUDIO", "LIMIT", o.Limit));
    keep(ini.WriteInteger("AUDIO", "LIMITTIME", o.LimitTime));
    return written;
}

bool WriteLoadListType(TIniContent& ini, const TOption& o)
{
    return ini.WriteInteger("LOADLIST", "TYPE", o.LoadListType);
}

const TMasterVolumeStep& MasterVolumeStep(int index)
{
    return kMasterVolumeSteps[index];
}

int MasterVolumeStepOf(int stored)
{
    for (int i = 0; i < kMasterVolumeStepCount; ++i)
        if (kMasterVolumeSteps[i].Stored == stored)
            return i;
    return 0;
}

TInfoPanelMetrics InfoPanelMetricsFor(int dispSize)
{
    if (dispSize >= 1 && dispSize <= 5)
        return kInfoPanelMetrics[dispSize - 1];
    TInfoPanelMetrics designed = kInfoPanelMetrics[0];
    designed.Known = false;
    return designed;
}

namespace {

constexpr int kInfoRowGap = 14; // after the time and after the region

TInfoRowLefts InfoRowAfter(int firstLeft, const TInfoRowWidths& w, int time, int region,
                           TInfoRowLefts lefts = {})
{
    lefts.Time = firstLeft + (lefts.TimeCaptionShown ? w.TimeCaption : 0);
    lefts.RegionCaption = lefts.Time + time + kInfoRowGap;
    lefts.Region = lefts.RegionCaption + (lefts.RegionCaptionShown ? w.RegionCaption : 0);
    lefts.SampleCaption = lefts.Region + region + kInfoRowGap;
    lefts.Samples = lefts.SampleCaption + w.SampleCaption;
    return lefts;
}

bool RowFits(const TInfoRowLefts& lefts, const TInfoRowWidths& w, int region, int panelWidth)
{
    const int end = lefts.SamplesShown ? lefts.Samples + w.Samples : lefts.Region + region;
    return end <= panelWidth;
}

} // namespace

TInfoRowLefts InfoRowLefts(int firstLeft, const TInfoRowWidths& w, int panelWidth)
{
    const TInfoRowLefts designed = InfoRowAfter(firstLeft, w, w.TimeRoom, w.RegionRoom);
    if (RowFits(designed, w, w.RegionRoom, panelWidth))
        return designed;
    TInfoRowLefts lefts = InfoRowAfter(firstLeft, w, w.Time, w.Region);
    for (bool TInfoRowLefts::*shown :
         {&TInfoRowLefts::SamplesShown, &TInfoRowLefts::TimeCaptionShown,
          &TInfoRowLefts::RegionCaptionShown}) {
        if (RowFits(lefts, w, w.Region, panelWidth))
            break;
        lefts.*shown = false;
        lefts = InfoRowAfter(firstLeft, w, w.Time, w.Region, lefts);
    }
    return lefts;
}

TPlaybackBuffers PlaybackBufferFor(std::int32_t bufSize, std::uint16_t bufCount, int channels,
                                   int rate)
{
    double sizeFactor = channels == 1 ? 0.5 : 1.0;
    double countFactor = rate > 44100 ? rate / 44100.0 : 1.0;
    int size = RoundHalfEven(static_cast<double>(bufSize) * sizeFactor);
    if (size < kSmallestBufferBytes)
        size = kSmallestBufferBytes;
    return {size, RoundHalfEven(bufCount * countFactor)};
}

std::vector<AnsiString> RecentFilesToAdd(const TIniContent& ini, int limit)
{
    std::vector<AnsiString> paths;
    const int count = std::clamp(ini.ReadInteger("RECENT", "COUNT", 0), 0, limit);
    for (int i = count - 1; i >= 0; --i) {
        AnsiString path = ini.ReadString("RECENT", std::to_string(i), "");
        if (!path.empty())
            paths.push_back(path);
    }
    return paths;
}

AnsiString SettingsPathFor(const AnsiString& programPath)
{
    return ChangeFileExt(programPath, ".ini");
}
