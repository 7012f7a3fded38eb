// A main window in a temporary program folder: its settings file is
// folder/zandrel.ini, the wave-out devices are two fixed names, and the
// command line holds what Start is given.
#pragma once

#include "classlib/IniFile.h"
#include "classlib/Seams.h"
#include "editor/ostrel.h"

#include "support/TempFolder.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// The status bar's message and its colour.
AnsiString StatusText(const TFormVusk* form);
TColor StatusColor(const TFormVusk* form);

// Clicks item of the window's menu bar as a hand does: real clicks on its
// menu's title in the bar, then on each submenu on the way as it opens, then
// on the item; returns once the menu has closed and the item's click ran.
// Fails the test when there is no item.
void ClickMenuItem(TFormVusk* form, TBarCustomItem* item);
// The same for the item of the menu bar, in any menu, linked to action.
void ClickMenuItem(TFormVusk* form, TAction* action);
// The shown popup window of the menu that opener opened; null when none.
TBarView* OpenMenuOf(TBarCustomItem* opener);
// The item of menu or of one of its submenus linked to action; null when
// none.
TBarCustomItem* MenuItemOf(TBarCustomItem* menu, TBasicAction* action);
// Right-clicks a screen point as a hand does and clicks item in the popup
// that opens (Escape closes it when item is null); returns whether the item
// showed enabled, once done holds (the item's command has run) or a second
// has passed.
bool RightClickAndChoose(POINT at, TBarCustomItem* item,
                         const std::function<bool()>& done = [] { return true; });

// The region list read and set through the window's door to it: the texts
// of a column, row by row (the names by default); the ranges of the regions
// from row first on; exactly rows selected; the middle of a row's cell in
// the list's client coordinates (the name's cell is the name column's width
// of the row).
std::vector<AnsiString> RegionTexts(const TFormVusk* form,
                                    TRegionColumn column = TRegionColumn::Name);
std::vector<TRegionRange> RegionRanges(const TFormVusk* form, int first = 0);
void SelectOnlyRegions(TFormVusk* form, std::initializer_list<int> rows);
TPoint RegionCell(const TFormVusk* form, int row, TRegionColumn column);

class MainWindowTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the window and shows it (which reads the settings and takes the
    // command-line arguments), and waits until the start is over.
    TFormVusk* Start(std::vector<AnsiString> args = {});
    // The same with the settings file holding text.
    TFormVusk* StartWithSettings(const AnsiString& text)
    {
        WriteSettings(text);
        return Start();
    }
    // Starts the window and opens in it a WAV file of frames at rate, silent
    // in its first half; returns the file's path.
    std::string StartWithWav(const std::string& name, int frames, int rate);
    // Closes the window through its close handler, then frees it.
    void CloseAndFree();
    // The settings file as the window left it.
    TIniFile Settings() const { return TIniFile(iniPath); }
    void WriteSettings(const AnsiString& text) const { folder.WriteFile("zandrel.ini", text); }
    bool SettingsExist() const;
    // The screen rectangle of action's button on bar; empty when the bar
    // shows none.
    static TRect ToolButtonRect(TExtToolbar* bar, TAction* action);
    // Clicks action's button on bar with a real click; fails the test when
    // the bar has none.
    void ClickToolButton(TExtToolbar* bar, TAction* action);
    // Runs the preferences command; answer works its window, then it is
    // closed with OK (with Cancel when answer says false).
    void ChangePreferences(const std::function<bool(TForm6&)>& answer);
    // The same with a new silence threshold, which reloads an open file.
    void ChangeSilenceThreshold(int level);
    // The window brought to the front with the focus on its waveform.
    void FocusWave();
    // A key pressed on the waveform of the window brought to the front.
    void PressOnWave(WORD key, TShiftState shift = 0);
    AnsiString Status() const { return StatusText(form); }
    // The region list through the window's door to it: the names row by
    // row, a cell's text, a row's region, exactly rows selected, the middle
    // of a row's cell in the list's client coordinates.
    std::vector<AnsiString> RegionNames() const { return RegionTexts(form); }
    AnsiString Text(int row, TRegionColumn column) const { return form->RegionText(row, column); }
    TRegionData& Record(int row) const { return *form->RegionAt(row); }
    void SelectOnly(std::initializer_list<int> rows) { SelectOnlyRegions(form, rows); }
    TPoint Cell(int row, TRegionColumn column) const { return RegionCell(form, row, column); }
    // The file dialogs answer with the names given, in turn, and keep what
    // they were asked in asked; an empty name cancels.
    void AnswerFileDialogs(std::vector<AnsiString> names);

    testing_support::TempFolder folder;
    AnsiString iniPath;
    TFormVusk* form = nullptr;
    std::vector<TFileDialogRequest> asked;
    std::vector<AnsiString> answers;
};
