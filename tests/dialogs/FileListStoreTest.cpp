#include "dialogs/FileListStore.h"

#include "support/TempFolder.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>
#include <windows.h>

using testing_support::TempFolder;
using testing_support::WavBuilder;
using testing_support::WriteWav;

namespace {

using Paths = std::vector<AnsiString>;

AnsiString RegionListText(const AnsiString& wavPath, const char* count)
{
    return "[FILE_INFO]\r\nWAV_FILE_PATH=" + wavPath + "\r\nREGION_COUNT=" + count +
           "\r\nCUTPOINT_COUNT=0\r\n";
}

void MakeWav(const TempFolder& folder, const AnsiString& name)
{
    WriteWav(folder, name, WavBuilder().Pcm16(1, 8000, testing_support::SilenceSamples(100, 1)));
}

TEST(FileListStoreTest, OnlyFilesThatCanBeOpenedBecomeEntries)
{
    TempFolder tmp, moved;
    MakeWav(tmp, "song.wav");
    MakeWav(tmp, "表.WAV");
    tmp.WriteFile("noise.wav", "RIFF not really");
    tmp.WriteFile("song.rgl", RegionListText(tmp / "song.wav", "3"));
    tmp.WriteFile("uncounted.rgl", "[FILE_INFO]\r\nWAV_FILE_PATH=" + tmp / "song.wav" + "\r\n");
    tmp.WriteFile("orphan.rgl", RegionListText(tmp / "gone.wav", "1"));
    tmp.WriteFile("negative.rgl", RegionListText(tmp / "song.wav", "-5"));
    tmp.WriteFile("worded.rgl", RegionListText(tmp / "song.wav", "3 regions"));
    tmp.WriteFile("notes.txt", "song.wav");
    tmp.WriteFile("marked.rgl", "\xEF\xBB\xBF" + RegionListText(tmp / "song.wav", "4")); // UTF-8
    // A region list moved with its WAV file still names the old folder.
    MakeWav(moved, "song.wav");
    moved.WriteFile("song.rgl", RegionListText(tmp / "old\\song.wav", "2"));

    using Entry = std::optional<TFileListEntry>;
    struct Case
    {
        AnsiString path;
        Entry entry;
    };
    const Case cases[] = {
        {tmp / "song.wav", TFileListEntry{"song.wav", "0", tmp / "song.wav", tmp / "song.wav"}},
        {tmp / "表.WAV", TFileListEntry{"表.WAV", "0", tmp / "表.WAV", tmp / "表.WAV"}},
        {tmp / "song.rgl", TFileListEntry{"song.rgl", "3", tmp / "song.rgl", tmp / "song.wav"}},
        {moved / "song.rgl",
         TFileListEntry{"song.rgl", "2", moved / "song.rgl", moved / "song.wav"}},
        {tmp / "marked.rgl",
         TFileListEntry{"marked.rgl", "4", tmp / "marked.rgl", tmp / "song.wav"}},
        {tmp / "noise.wav", std::nullopt},
        {tmp / "uncounted.rgl", std::nullopt},
        {tmp / "orphan.rgl", std::nullopt},
        {tmp / "negative.rgl", std::nullopt},
        {tmp / "worded.rgl", std::nullopt},
        {tmp / "notes.txt", std::nullopt},
        {tmp / "missing.wav", std::nullopt},
        {tmp / "missing.rgl", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileListEntryFor(c.path), c.entry) << c.path;
}

TEST(FileListStoreTest, AddingAPathAgainMovesItsEntryToTheEnd)
{
    TempFolder tmp;
    MakeWav(tmp, "a.wav");
    MakeWav(tmp, "b.wav");
    std::vector<TFileListEntry> entries;
    EXPECT_EQ(AddFileListEntry(entries, tmp / "a.wav"), 0);
    EXPECT_EQ(AddFileListEntry(entries, tmp / "b.wav"), 1);
    EXPECT_EQ(AddFileListEntry(entries, tmp / "a.wav"), 1);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].FileName, "b.wav");

    // A file that went bad leaves the list when it is added again.
    tmp.WriteFile("a.wav", "broken");
    EXPECT_EQ(AddFileListEntry(entries, tmp / "a.wav"), -1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].FileName, "b.wav");
}

TEST(FileListStoreTest, AFolderGivesOnlyTheFilesDirectlyInside)
{
    TempFolder tmp;
    ASSERT_TRUE(CreateDirectoryA((tmp / "drop").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((tmp / "drop\\sub").c_str(), nullptr));
    for (const char* name : {"drop\\b.wav", "drop\\a.rgl", "drop\\sub\\c.wav", "single.wav"})
        tmp.WriteFile(name, "x");
    EXPECT_EQ(FileListCandidates({tmp / "drop", tmp / "single.wav", tmp / "drop\\"}),
              (Paths{tmp / "drop\\a.rgl", tmp / "drop\\b.wav", tmp / "single.wav",
                     tmp / "drop\\a.rgl", tmp / "drop\\b.wav"}));
}

TEST(FileListStoreTest, TheListFileKeepsItsPathsInOrder)
{
    TempFolder tmp;
    const AnsiString file = FileListFilePath(tmp / "zandrel.exe");
    EXPECT_EQ(file, tmp / "filelist.ini");
    EXPECT_EQ(ReadFileListFile(file), Paths{}); // missing: an empty list

    const Paths paths = {"C:\\表\\ソ.wav", "D:\\b.rgl", "E:\\a b\\c.wav"};
    ASSERT_TRUE(WriteFileListFile(file, paths));
    EXPECT_EQ(tmp.ReadFile("filelist.ini"), "C:\\表\\ソ.wav\r\nD:\\b.rgl\r\nE:\\a b\\c.wav\r\n");
    EXPECT_EQ(ReadFileListFile(file), paths);

    // A path twice stands where its last line puts it, as adding the lines
    // in turn leaves it; paths that differ in case are two.
    tmp.WriteFile("filelist.ini", "a.wav\n\nb.wav\rc.wav\na.wav\nA.wav\nc.wav\n");
    EXPECT_EQ(ReadFileListFile(file), (Paths{"b.wav", "a.wav", "A.wav", "c.wav"}));
}

TEST(FileListStoreTest, AListFileThatCannotBeReadOrWrittenIsLeftWhole)
{
    TempFolder tmp;
    const AnsiString file = tmp / "filelist.ini";
    tmp.WriteFile("filelist.ini", "keep.wav\r\n");
    HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadFileListFile(file), std::nullopt);
    CloseHandle(lock);

    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteFileListFile(file, {"new.wav"}));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(tmp.ReadFile("filelist.ini"), "keep.wav\r\n");
    EXPECT_EQ(testing_support::FileNamesIn(tmp.Path()).size(), 1u);
}

} // namespace
