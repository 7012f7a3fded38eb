// The recent-file list: newest first, an eleventh path drops the oldest, a
// repeated path moves to the top; and the menu captions, whose "&" shows.
#include "editor/RecentFiles.h"

#include "classlib/TextUtils.h"

#include <gtest/gtest.h>

TEST(RecentFiles, AnEleventhPathDropsTheOldest)
{
    TStringList list;
    for (int i = 0; i < 11; ++i)
        PutRecentFile(list, "C:\\w\\" + IntToStr(i) + ".wav");
    ASSERT_EQ(list.Count(), kRecentFileLimit);
    EXPECT_EQ(list.Strings(0), "C:\\w\\10.wav");
    EXPECT_EQ(list.Strings(9), "C:\\w\\1.wav");
    EXPECT_EQ(list.IndexOf("C:\\w\\0.wav"), -1);
}

TEST(RecentFiles, ARepeatedPathMovesToTheTopWithoutADuplicate)
{
    TStringList list;
    for (const char* path : {"C:\\a.wav", "C:\\b.wav", "C:\\c.rgl"})
        PutRecentFile(list, path);
    PutRecentFile(list, "C:\\a.wav");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(0), "C:\\a.wav");
    EXPECT_EQ(list.Strings(1), "C:\\c.rgl");
    PutRecentFile(list, "C:\\A.wav"); // compared exactly
    EXPECT_EQ(list.Count(), 4);
}

TEST(RecentFiles, CaptionsNumberTheEntriesAndShowTheirAmpersands)
{
    EXPECT_EQ(RecentMenuCaption(0, "C:\\music\\live.wav"), "&0 live.wav");
    EXPECT_EQ(RecentMenuCaption(9, "C:\\R&B\\a&b.wav"), "&9 a&&b.wav");
    EXPECT_EQ(RecentIndexOfCaption("&7 x.wav"), 7);
    EXPECT_EQ(RecentIndexOfCaption(RecentMenuCaption(3, "C:\\&&.wav")), 3);
    EXPECT_EQ(RecentIndexOfCaption("x.wav"), -1);
    EXPECT_EQ(RecentIndexOfCaption("&"), -1);
}
