// The settings file written back at the close when its RECENT section holds
// 100,000 keys (a list once longer, or a file edited by hand): the file read
// into an INI object, the window's record read from it and written over it
// (the keys beyond the recent list's taken out), and the file put in place,
// next to a plain read of the same file's bytes in the same run. The file is
// made again before each run, untimed.
// Every ratio is a run's figure against the plain read of the same run.
// Target: the write-back within a second (max < 1000 ms).
#include "BenchSupport.h"

#include "classlib/Exceptions.h"
#include "classlib/FilePaths.h"
#include "classlib/IniFile.h"
#include "editor/StoredSettings.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kSettingsBenchRecentKeys = 100000;
constexpr double kSettingsBenchTargetMs = 1000;

// A settings file as a close writes it, with the RECENT section made long.
AnsiString SettingsBenchText()
{
    TIniContent ini;
    TStoredSettings settings = ReadStoredSettings(ini);
    settings.RecentFiles = {"C:\\録音\\ライブ 2024\\表題曲.rgl", "C:\\録音\\練習.wav"};
    if (!WriteStoredSettings(ini, settings))
        throw Exception("the settings were not written");
    for (int i = 0; i < kSettingsBenchRecentKeys; ++i)
        if (!ini.WriteString("RECENT", std::to_string(i),
                             "C:\\録音\\" + std::to_string(i) + ".wav"))
            throw Exception("the recent keys were not written");
    return ini.Text();
}

void SettingsBenchWriteBack(const AnsiString& path)
{
    TIniFile ini(path);
    TStoredSettings settings = ReadStoredSettings(ini.Content());
    if (!WriteStoredSettings(ini.Content(), settings))
        throw Exception("the settings were not written back");
    ini.UpdateFile();
}

void RunSettingsBench(const TBenchContext& context)
{
    const AnsiString path = context.DataFolder + "settings-recent-100000.ini";
    const AnsiString text = SettingsBenchText();
    std::vector<double> writeBackMs, plainMs;
    for (int run = 0; run <= kBenchRuns; ++run) { // run 0 warms up
        if (!WriteFileReplacing(path, text))
            throw Exception("cannot write " + path);
        TBenchStopwatch watch;
        BenchPlainFileRead(path);
        const double plain = watch.Milliseconds();
        watch.Restart();
        SettingsBenchWriteBack(path);
        const double writeBack = watch.Milliseconds();
        if (run == 0)
            continue;
        writeBackMs.push_back(writeBack);
        plainMs.push_back(plain);
    }
    if (TIniFile(path).Content().KeyNames("RECENT").size() != 3)
        throw Exception("the write-back left keys beyond the recent list");
    std::printf("settings: a file of %zu bytes, %d RECENT keys; %d runs (min / median / max)\n",
                text.size(), kSettingsBenchRecentKeys, kBenchRuns);
    BenchPrintFigures("plain read of the file", BenchFiguresOf(plainMs), "ms");
    BenchPrintAgainstPlain("write-back at the close", writeBackMs, "plain read", plainMs,
                           kSettingsBenchTargetMs);
    std::fflush(stdout);
}

TBenchRegistration settingsRegistration("settings", RunSettingsBench);

} // namespace
