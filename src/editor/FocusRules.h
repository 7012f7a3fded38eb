// Where the focus moves with Tab, Shift+Tab and Ctrl+Tab in the main
// window, without windows: between the waveform (its hidden button), the
// region list, the side pane, and the controls of the rename page in the
// order of their naming steps.
//
//   TFocusControl  the controls that take part, by their names
//   TFocusState    the focused control and what the panes show
//   TFocusMove     where the focus goes and what happens on arrival
//   TabForward     Tab
//   TabBackward    Shift+Tab
//   TabSwitch      Ctrl+Tab: the waveform, the list and the shown pane
//   TabOver        Tab or Shift+Tab past the controls that cannot take the
//                  focus now
#pragma once

#include <functional>

enum class TFocusControl
{
    Other, // any control not named here
    FocusBtn,
    EditList,
    ShellTreeView1,
    CutManageList,
    RenamePage,
    // Add page
    rnAdd1,
    rnAdd2,
    rnAdd3,
    rSp1,
    rSp2,
    rEd1,
    rCb1,
    GoRnBtn1,
    // Delete page
    rnDel1,
    rEd2,
    rnDel2,
    rCb2,
    rSp3,
    rSp4,
    GoRnBtn2,
    // Change page
    rnChange1,
    rEd3,
    rEd4,
    rnChange2,
    rnChange3,
    GoRnBtn3,
    // Input page
    rEd5,
    rCk1,
    rEd6,
    rCb3
};

enum class TSidePane
{
    None, // the side pane is hidden
    Explorer,
    Rename,
    CutBars
};

// The rename page's tabs, in order.
enum class TRenameTab
{
    Add = 0,
    Delete = 1,
    Change = 2,
    Input = 3
};

struct TFocusState
{
    TFocusControl From = TFocusControl::Other;
    TSidePane Pane = TSidePane::None;
    TRenameTab Tab = TRenameTab::Add;
    bool Add1Checked = false;     // rnAdd1: a serial number only
    bool Add3Checked = false;     // rnAdd3: a text only
    int DeleteFromIndex = 0;      // the item of rCb2; the third deletes at a position
    bool InputAddChecked = false; // rCk1: add a text to each manual name
};

struct TFocusMove
{
    TFocusControl To = TFocusControl::FocusBtn;
    bool SelectText = false;       // the edit's whole text is selected on arrival
    bool SelectListItem = false;   // the region list gets a selected item when it has none
    bool ListClick = false;        // the region list's click handling runs on arrival
    bool ResetRegionAudio = false; // the region playback settings go back to the master ones
};

TFocusMove TabForward(const TFocusState& state);
TFocusMove TabBackward(const TFocusState& state);
TFocusMove TabSwitch(const TFocusState& state);

// A step of Tab or Shift+Tab (TabForward, TabBackward) that moves on past
// each control canFocus refuses (an edit of a rule that is not chosen: the
// focus on a rule no longer chooses it) as the same key would leave it; the
// waveform ends every walk.
TFocusMove TabOver(TFocusMove (*step)(const TFocusState&), TFocusState state,
                   const std::function<bool(TFocusControl)>& canFocus);

// The control of the rename page that Tab enters on its tab.
TFocusControl RenameEntryControl(const TFocusState& state);
