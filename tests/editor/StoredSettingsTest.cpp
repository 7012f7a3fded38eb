// The whole record the main window keeps in its settings file, written at
// its close and read at its next start without a window.
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

TEST(StoredSettingsTest, AShorterRecentListLeavesOnlyItsOwnKeysAndWhatTheProgramDoesNotKnow)
{
    AnsiString text = "[RECENT]\r\nCOUNT=12\r\nNOTE=kept\r\n";
    for (int i = 0; i < 30; ++i)
        text += std::to_string(i) + "=C:\\" + std::to_string(i) + ".wav\r\n";
    text += "40=C:\\40.wav\r\n"; // past a gap: not the list's
    TIniContent ini;
    ini.ParseText(text);
    TStoredSettings held = ReadStoredSettings(ini);
    ASSERT_EQ(held.RecentFiles.size(), 10u);
    held.RecentFiles.resize(2);
    ASSERT_TRUE(WriteStoredSettings(ini, held));
    EXPECT_EQ(ini.KeyNames("RECENT"), (std::vector<AnsiString>{"COUNT", "NOTE", "0", "1", "40"}));
    EXPECT_EQ(ReadBack(ini), held);
}

TEST(StoredSettingsTest, ATextTheFileCannotHoldIsRefused)
{
    TStoredSettings held = ReadStoredSettings(TIniContent());
    held.Rename.AddEdit1 = "two\r\nlines";
    TIniContent ini;
    EXPECT_FALSE(WriteStoredSettings(ini, held));
}
