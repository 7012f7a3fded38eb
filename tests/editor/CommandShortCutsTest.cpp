// The command table, the modifier index and the SHORTCUT keys, without
// windows.
#include "classlib/IniFile.h"
#include "classlib/ShortCut.h"
#include "editor/CommandShortCuts.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using testing_support::TempFolder;

TEST(CommandTable, SeventyTwoCommandsInListOrderWithUniqueNames)
{
    std::set<std::string> names;
    for (int i = 0; i < kCommandCount; ++i)
        names.insert(CommandInfo(i).Name);
    EXPECT_EQ(names.size(), 72u);
    EXPECT_STREQ(CommandInfo(0).Name, "actFileOpen");
    EXPECT_STREQ(CommandInfo(13).Name, "actEditCut");
    EXPECT_STREQ(CommandInfo(19).Name, "actViewFilelist");
    EXPECT_STREQ(CommandInfo(30).Name, "actRegionAdd");
    EXPECT_STREQ(CommandInfo(50).Name, "actToolRegion");
    EXPECT_STREQ(CommandInfo(54).Name, "actRegionAuto");
    EXPECT_STREQ(CommandInfo(58).Name, "actAudioPlay");
    EXPECT_STREQ(CommandInfo(71).Name, "actAbout");
    EXPECT_EQ(CommandIndexOf("ACTAUDIOLOOP"), 69);
    EXPECT_EQ(CommandIndexOf("actNothing"), -1);
}

TEST(CommandTable, DefaultShortCuts)
{
    auto byName = [](const char* name) {
        return DefaultShortCut(CommandInfo(CommandIndexOf(name)));
    };
    EXPECT_EQ(byName("actFileOpen"), scCtrl | 'O');
    EXPECT_EQ(byName("actFileSaveAs"), scShift | scCtrl | 'S');
    EXPECT_EQ(byName("actFileAddFilelist"), scNone);
    EXPECT_EQ(byName("actEditDelete"), VK_DELETE);
    EXPECT_EQ(byName("actViewZoomIn"), VK_ADD);
    EXPECT_EQ(byName("actViewVZoomOut"), scShift | VK_SUBTRACT);
    EXPECT_EQ(byName("actRegionAdd"), VK_RETURN);
    EXPECT_EQ(byName("actRegionEndShort"), scShift | VK_LEFT);
    EXPECT_EQ(byName("actRegionStartShort"), scCtrl | VK_RIGHT);
    EXPECT_EQ(byName("actRegionRew"), scShift | scCtrl | VK_LEFT);
    EXPECT_EQ(byName("actRegionMonoMix"), scShift | scCtrl | 'M');
    EXPECT_EQ(byName("actToolSelect"), VK_F12);
    EXPECT_EQ(byName("actAudioPlay"), VK_SPACE);
    EXPECT_EQ(byName("actAudioRenamePlay"), scCtrl | VK_SPACE);
    EXPECT_EQ(byName("actAudioGotoZero"), VK_DECIMAL);
    EXPECT_EQ(byName("actAudioRecord"), VK_MULTIPLY);
    EXPECT_EQ(byName("actHelp"), VK_F1);
}

TEST(ModifierIndex, TheEightSetsBothWays)
{
    const TShiftState sets[] = {0,
                                ssShift,
                                ssCtrl,
                                ssAlt,
                                ssShift | ssCtrl,
                                ssShift | ssAlt,
                                ssCtrl | ssAlt,
                                ssShift | ssCtrl | ssAlt};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(IndexToShift(i), sets[i]) << i;
        EXPECT_EQ(ShiftToIndex(sets[i]), i) << i;
    }
    EXPECT_EQ(IndexToShift(8), 0u);
    EXPECT_EQ(IndexToShift(9), 0u);
    EXPECT_EQ(IndexToShift(-1), 0u);
    EXPECT_EQ(ShiftToIndex(ssCtrl | ssLeft), 0);
    EXPECT_EQ(ShiftToIndex(ssShift | ssDouble), 0);
}

TEST(ShortCutKeys, StoredValuesAndTheirFallbacks)
{
    TempFolder folder;
    folder.WriteFile("s.ini", "[SHORTCUT]\r\n"
                              "actFileSave_SHIFT=4\r\nactFileSave_KEY=83\r\n"
                              "actFileOpen_SHIFT=9\r\nactFileOpen_KEY=83\r\n"
                              "actFileClose_KEY=300\r\n"
                              "actFileQuit_SHIFT=2\r\nactFileQuit_KEY=0\r\n"
                              "actRegionSwap_SHIFT=1\r\nactRegionSwap_KEY=$53\r\n"
                              "actEditCut_SHIFT=-2\r\nactEditCut_KEY=x\r\n");
    TIniFile ini(folder / "s.ini");
    auto read = [&](const char* name) {
        return ReadCommandShortCut(ini.Content(), CommandInfo(CommandIndexOf(name)));
    };
    EXPECT_EQ(read("actFileSave"), scShift | scCtrl | 'S');
    EXPECT_EQ(read("actFileOpen"), 'S'); // index 9: no modifiers
    EXPECT_EQ(read("actFileClose"), scNone);
    EXPECT_EQ(read("actFileQuit"), scNone);
    EXPECT_EQ(read("actRegionSwap"), scShift | 'S');
    EXPECT_EQ(read("actEditCut"), 'X'); // index -2: none; key garbage: default X
    EXPECT_EQ(read("actAudioPlay"), VK_SPACE);
}

TEST(ShortCutKeys, EveryCommandRoundTrips)
{
    TempFolder folder;
    const TShortCut assigned[] = {scNone,
                                  'A',
                                  scShift | VK_F3,
                                  scCtrl | scAlt | 'Z',
                                  scShift | scCtrl | scAlt | VK_NUMPAD5,
                                  scAlt | VK_LEFT};
    {
        TIniFile ini(folder / "s.ini");
        for (int i = 0; i < kCommandCount; ++i)
            ASSERT_TRUE(WriteCommandShortCut(ini.Content(), CommandInfo(i).Name, assigned[i % 6]));
        ini.UpdateFile();
    }
    TIniFile ini(folder / "s.ini");
    for (int i = 0; i < kCommandCount; ++i)
        EXPECT_EQ(ReadCommandShortCut(ini.Content(), CommandInfo(i)), assigned[i % 6])
            << CommandInfo(i).Name;
    EXPECT_EQ(ini.ReadString("SHORTCUT", "actFileOpen_KEY", "?"), "0");
    EXPECT_EQ(ini.ReadString("SHORTCUT", "actFileOpen_SHIFT", "?"), "0");
    EXPECT_EQ(ini.ReadString("SHORTCUT", "actFileSave_KEY", "?"), "90");
    EXPECT_EQ(ini.ReadString("SHORTCUT", "actFileSave_SHIFT", "?"), "6");
}

TEST(ShortCutKeys, WhatATextEditTakesOver)
{
    EXPECT_TRUE(IsWithdrawnWhileTyping(scNone));
    EXPECT_TRUE(IsWithdrawnWhileTyping(VK_SPACE));
    EXPECT_TRUE(IsWithdrawnWhileTyping(VK_RETURN));
    EXPECT_TRUE(IsWithdrawnWhileTyping(VK_F5));
    EXPECT_TRUE(IsWithdrawnWhileTyping(scShift | VK_LEFT));
    EXPECT_TRUE(IsWithdrawnWhileTyping(scCtrl | VK_RIGHT));
    EXPECT_TRUE(IsWithdrawnWhileTyping(scShift | scCtrl | VK_DOWN));
    EXPECT_TRUE(IsWithdrawnWhileTyping(scAlt | VK_UP));
    EXPECT_FALSE(IsWithdrawnWhileTyping(scCtrl | 'S'));
    EXPECT_FALSE(IsWithdrawnWhileTyping(scShift | scCtrl | 'O'));
    EXPECT_FALSE(IsWithdrawnWhileTyping(scShift | VK_ADD));
    EXPECT_FALSE(IsWithdrawnWhileTyping(scCtrl | VK_SPACE));
}
