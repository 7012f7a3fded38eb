// When the main window's commands are enabled, without windows.
//
//   TActiveControl   what kind of control has the keyboard focus
//   TCommandState    what the rules look at, gathered by the window
//   TEnablingRule    the rules; every action follows one
//   EnablingRuleOf   the rule of an action, by its name
//   RuleAllows       whether a rule enables its actions in a state
//
// An action whose rule is Always has no update at all; OwnRule marks the
// actions whose rules live with their own commands (the rename strings and
// the output modes), which this unit does not decide.
#pragma once

#include "classlib/Types.h"

#include <cstdint>

enum class TActiveControl
{
    None,             // no control of the window is active
    Wave,             // the hidden button that stands for the waveform
    RegionList,       // the region list
    CutBarList,       // the cut-bar list
    ExplorerTree,     // the explorer pane's tree
    TextEdit,         // a text or number edit
    ManualRenameEdit, // the rename page's manual input (a text edit too)
    Other
};

// A text or number edit, the manual rename input included.
constexpr bool IsTextEdit(TActiveControl active)
{
    return active == TActiveControl::TextEdit || active == TActiveControl::ManualRenameEdit;
}

struct TCommandState
{
    bool FileOpen = false; // the caption is more than the bare title
    bool Busy = false;     // a load, bounce or recording runs
    int RegionCount = 0;   // items of the region list
    int SelectedRegionCount = 0;
    int CutBarCount = 0;
    bool CutBarSelected = false;   // the cut-bar list has a selected item
    bool HasSelection = false;     // a range is selected on the waveform
    int Zoom = 1;                  // draw entries per column
    int VZoom = 1;                 // vertical zoom factor
    bool ScrollBarEnabled = false; // the waveform's scroll bar
    std::int32_t PlayPos = 0;      // the play cursor, sample frames
    std::int32_t SampleSize = 0;   // frames of the open file
    TActiveControl Active = TActiveControl::None;
    bool TextSelected = false;        // the active text edit has selected text
    bool TextPresent = false;         // the active text edit holds text
    bool ClipboardHasText = false;    // the system clipboard
    bool RegionClipboardEmpty = true; // the program's own region clipboard
};

enum class TEnablingRule
{
    Always,             // no update: always enabled
    OwnRule,            // decided by the command's own update
    FileOpen,           // a file is open
    RegionsOrCutBars,   // the region list or the cut-bar list has items
    RegionSelected,     // at least one region is selected
    WaveSelection,      // a range is selected on the waveform
    Adjust,             // a range is selected, or a cut bar in the focused cut-bar list
    ZoomIn,             // zoomed out beyond one entry per column, a file open
    ZoomOut,            // a file open and the scroll bar enabled
    VZoomIn,            // below the largest vertical zoom, a file open
    VZoomOut,           // above vertical zoom 1, a file open
    HasRegions,         // the region list has items
    HasCutBars,         // the cut-bar list has items
    CutAtCursor,        // a file open, the cursor inside it and not at 0
    TwoRegionsSelected, // at least two regions selected
    EditCopy,
    EditCut,
    EditPaste,
    EditDouble,
    EditSelAll,
    EditDelete,
    ExplorerReturn // the explorer tree has the focus
};

// The rule of an action of either action list; Always for a name that is
// none of them.
TEnablingRule EnablingRuleOf(const AnsiString& actionName);
bool RuleAllows(TEnablingRule rule, const TCommandState& state);
