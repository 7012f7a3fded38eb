#include "classlib/Dialogs.h"

#include "classlib/Graphics.h"
#include "classlib/Seams.h"

#include <commdlg.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

TEST(DialogsTest, FileDialogResultsAreReadByTheNameOffset)
{
    // One file: the rest of a longer name the dialog opened with stays
    // behind the path's 0 byte.
    const char single[] = "C:\\a.wav\0ylongname.wav\0";
    EXPECT_EQ(FileDialogFiles(single, 3), (std::vector<AnsiString>{"C:\\a.wav"}));
    // Several: the folder, then the names. A folder ending in ソ (trail byte
    // 0x5C) still gets its separator.
    const char several[] = "C:\\ソ\0a.wav\0b.wav\0";
    EXPECT_EQ(FileDialogFiles(several, 6),
              (std::vector<AnsiString>{"C:\\ソ\\a.wav", "C:\\ソ\\b.wav"}));
    const char root[] = "C:\\\0a.wav\0";
    EXPECT_EQ(FileDialogFiles(root, 4), (std::vector<AnsiString>{"C:\\a.wav"}));
}

TEST(DialogsTest, OpenDialogHandsItsSettingsToTheSeamAndTakesTheChoice)
{
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("WAVファイルを選択してください");
    dialog.SetFilter("wavファイル(*.wav)|*.wav|全てのファイル|*.*");
    dialog.SetFilterIndex(2);
    dialog.SetInitialDir("C:\\音声");
    dialog.SetDefaultExt("wav");
    dialog.SetOptions(dialog.Options() | ofAllowMultiSelect | ofFileMustExist);

    TFileDialogRequest seen;
    Seams().FileDialog = [&](TFileDialogRequest& r) {
        seen = r;
        r.FileName = "C:\\音声\\a.wav";
        r.Files = {"C:\\音声\\a.wav", "C:\\音声\\b.wav"};
        r.FilterIndex = 1;
        return true;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_FALSE(seen.Save);
    EXPECT_EQ(seen.Title, "WAVファイルを選択してください");
    EXPECT_EQ(seen.Filter, "wavファイル(*.wav)|*.wav|全てのファイル|*.*");
    EXPECT_EQ(seen.FilterIndex, 2);
    EXPECT_EQ(seen.InitialDir, "C:\\音声");
    EXPECT_EQ(seen.DefaultExt, "wav");
    EXPECT_EQ(seen.Flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_ENABLESIZING |
                                             OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST));
    EXPECT_EQ(dialog.FileName(), "C:\\音声\\a.wav");
    EXPECT_EQ(dialog.Files(), (std::vector<AnsiString>{"C:\\音声\\a.wav", "C:\\音声\\b.wav"}));
    EXPECT_EQ(dialog.FilterIndex(), 1);
}

TEST(DialogsTest, CancelKeepsTheNameAndEmptiesTheFiles)
{
    TSaveDialog dialog(nullptr);
    dialog.SetFileName("12個のリージョン");
    dialog.SetOptions(ofOverwritePrompt);
    bool asked = false;
    Seams().FileDialog = [&](TFileDialogRequest& r) {
        asked = true;
        EXPECT_TRUE(r.Save);
        EXPECT_EQ(r.FileName, "12個のリージョン");
        EXPECT_EQ(r.Flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT));
        r.FileName = "changed by a cancelled dialog";
        return false;
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(asked);
    EXPECT_EQ(dialog.FileName(), "12個のリージョン");
    EXPECT_TRUE(dialog.Files().empty());

    Seams().FileDialog = [](TFileDialogRequest& r) {
        r.FileName = "D:\\out\\x.wav"; // a seam that fills no list
        return true;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Files(), std::vector<AnsiString>{"D:\\out\\x.wav"});
}

TEST(DialogsTest, ColourAndFolderDialogs)
{
    TColorDialog colours(nullptr);
    colours.SetColor(clBtnFace);
    colours.SetCustomColors({clRed, clBlue});
    Seams().ColorDialog = [](TColorDialogRequest& r) {
        EXPECT_EQ(r.Color, static_cast<TColor>(GetSysColor(COLOR_BTNFACE)))
            << "the dialog is offered the system colour's value";
        EXPECT_EQ(r.CustomColors, (std::vector<TColor>{clRed, clBlue}));
        r.Color = 0x91AF91;
        r.CustomColors.assign(16, clWhite);
        return true;
    };
    ASSERT_TRUE(colours.Execute());
    EXPECT_EQ(colours.Color(), 0x91AF91);
    EXPECT_EQ(colours.CustomColors().size(), 16u);

    TFolderDialog folder(nullptr);
    folder.SetTitle("出力先を選択して下さい");
    folder.SetFolder("C:\\");
    Seams().FolderDialog = [](TFolderDialogRequest& r) {
        EXPECT_EQ(r.Title, "出力先を選択して下さい");
        EXPECT_EQ(r.Folder, "C:\\");
        r.Folder = "C:\\出力";
        return true;
    };
    ASSERT_TRUE(folder.Execute());
    EXPECT_EQ(folder.Folder(), "C:\\出力");
}

TEST(DialogsTest, AnUnexpectedDialogFailsTheTestAndIsCancelled)
{
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("nobody answers");
    bool chosen = true;
    EXPECT_NONFATAL_FAILURE(chosen = dialog.Execute(), "unexpected file dialog: nobody answers");
    EXPECT_FALSE(chosen);
    TColorDialog colours(nullptr);
    EXPECT_NONFATAL_FAILURE(colours.Execute(), "unexpected colour dialog");
}

} // namespace
