// The settings file as the main window reads it at its first show and writes
// it back at its close, in one record that needs no window: the settings
// record and the keys the window keeps in its controls (master volume and
// loop, the FORM section, the shortcuts, the recent files and the rename
// pane). The toolbars write their own places (BarPlaces).
//
//   TFormKeys            the FORM section
//   TRenameKeys          the RENAME section
//   TStoredSettings      all of it
//   ReadStoredSettings   the record out of the file's content
//   WriteStoredSettings  the record into it, in the file's order of keys
//
// Each value is kept as the file holds it, a missing or unreadable key as
// its default; the window applies the values to its controls by its own
// rules (GeometryToApply, the master-volume steps...). So a record read,
// written and read again comes back the same, and writing takes time linear
// in the size of the file, whatever it held before. Nothing of the
// platform: this builds natively for fuzzing.
#pragma once

#include "Settings.h"
#include "StoredGeometry.h"

#include "classlib/ShortCutCodes.h"

#include <vector>

struct TFormKeys
{
    bool BarFix = true;          // BARFIX: the upper dock's toolbars may be dragged
    TStoredGeometry Geometry;    // the windows' places and the two panes
    int Column0Width = 120;      // COLUMN0_WIDTH: the region list's first column
    int SubWindow = 0;           // SUBWINDOW_NUM: 1 explorer, 2 rename, 3 cut bars
    int FileListNameWidth = 160; // FILELIST_NAME: the file list's first column
    bool FileListView = false;   // FILELIST_VIEW: the file-list window shown

    bool operator==(const TFormKeys&) const = default;
};

// The rename pane: its page, and per page the checked radio button (1, 2 or
// 3), the number edits, the texts and the combo boxes' item indexes.
struct TRenameKeys
{
    int ActivePage = 0;
    int AddCheck = 2;
    int AddSp1 = 1;
    int AddSp2 = 2;
    AnsiString AddEdit1;
    int AddCb1 = 1;
    int DelCheck = 1;
    AnsiString DelEdit2;
    int DelCb2 = 0;
    int DelSp3 = 1;
    int DelSp4 = 1;
    int ChangeCheck = 1;
    AnsiString ChangeEdit3;
    AnsiString ChangeEdit4;
    AnsiString ManualEdit5;
    bool ManualChk = false;
    AnsiString ManualEdit6;
    int ManualCb3 = 0;

    bool operator==(const TRenameKeys&) const = default;
};

struct TStoredSettings
{
    TOption Option;
    TPlaybackKeys Playback;
    TFormKeys Form;
    std::vector<TShortCut> ShortCuts;    // one per command, in action-list order
    std::vector<AnsiString> RecentFiles; // newest first, each once, none empty
    TRenameKeys Rename;

    bool operator==(const TStoredSettings&) const = default;
};

// The recent files are those the list ends with when it takes
// RecentFilesToAdd in turn.
TStoredSettings ReadStoredSettings(const TIniContent& ini);
// Writes every key of the record; RECENT loses the keys of a longer list
// written before (its numbers from the count up), so that it holds no names
// beyond COUNT. False when the file cannot hold a value (a line break in a
// text): the content must then not be put on disk.
[[nodiscard]] bool WriteStoredSettings(TIniContent& ini, const TStoredSettings& settings);
