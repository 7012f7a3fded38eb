// The whole record the main window keeps in its settings file, written at
// its close and read at its next start without a window (what any file
// read gives comes back written and read again: the Settings fuzz target;
// the keys the window writes: MainWindowSettingsTest).
#include "editor/StoredSettings.h"

#include "editor/CommandShortCuts.h"

#include <gtest/gtest.h>

namespace {

TStoredSettings ReadBack(const TIniContent& written)
{
    TIniContent again;
    again.ParseText(written.Text());
    return ReadStoredSettings(again);
}

} // namespace

TEST(StoredSettingsTest, WhatTheWindowHoldsComesBackAtTheNextStart)
{
    TStoredSettings held = ReadStoredSettings(TIniContent());
    held.Option.OutDevice = "スピーカー (Null)";
    held.Playback = {30, true};
    held.Form = {false, {{-1900, 5, 700, 600}, 0, 300, {2000, -8, 150, 90}}, 77, 3, 55, true};
    held.ShortCuts[0] = ShortCut('Q', ssCtrl | ssAlt);
    held.ShortCuts[kCommandCount - 1] = scNone;
    held.RecentFiles = {"C:\\表\\ソ.rgl", "C:\\a.wav"}; // trail bytes 0x5C
    held.Rename = {3, 1, -4, 99, "予_", 0, 2, "x", 2, 5, 6, 3, "ソ", "能", "表", true, "y", 2};
    TIniContent ini;
    ASSERT_TRUE(WriteStoredSettings(ini, held));
    EXPECT_EQ(ReadBack(ini), held);
}
