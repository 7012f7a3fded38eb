// The window geometry of the settings file, held to what the screen and the
// window can show before it is applied. A place written on another monitor,
// or edited by hand, must not leave a window where no one can see it, or a
// pane that hides the rest of the window.
//
//   TWindowPlace      a window's left, top, width and height as stored
//   TStoredGeometry   every stored value this rule holds
//   TGeometryLimits   what the screen and the window allow
//   GeometryToApply   the stored values held to the limits
//   CaptionPieceOnArea  whether a window shows enough to be moved
//
// The limits GeometryToApply keeps, for any input:
// - each window's width lies within lowest .. max(lowest, work area width),
//   lowest being max(1, its MinWidth); its height likewise;
// - a window made smaller to fit its work area is moved inside it along
//   that side (the top left wins when the window is still the larger);
// - a window shows on its work area only when the area holds a piece of
//   its caption bar (its top kCaptionPieceHeight rows) that the user can
//   take it by: the whole band's height, and kCaptionPieceWidth of its
//   width (all of it when narrower). A window that shows stays where it
//   was put (but for the move above); any other is shifted into the area as
//   the toolbars' floating frames are, so, for a work area that can hold
//   the piece, every window shows;
// - a pane size is 0 (a pane its splitter closed stays closed) or lies
//   within min(PaneMinSize, room) .. room, where room is
//   max(0, the window's held height less HeightBesidesUpperRow) for the
//   waveform's row and max(0, its held width less WidthBesidesSidePane)
//   for the side pane.
// This unit includes nothing of the platform.
#pragma once

#include "classlib/PlainRect.h"

constexpr std::int64_t kCaptionPieceHeight = 20;
constexpr std::int64_t kCaptionPieceWidth = 100;

struct TWindowPlace
{
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const TWindowPlace&) const = default;
};

struct TStoredGeometry
{
    TWindowPlace Main{40, 40, 620, 550};     // FORM_LEFT, FORM_TOP, FORM_WIDTH, FORM_HEIGHT
    int MasterPanelHeight = 215;             // MASTERPANEL_HEIGHT: the waveform's row
    int ExpPanelWidth = 216;                 // EXPPANEL_WIDTH: the side pane
    TWindowPlace FileList{40, 40, 280, 200}; // FILELIST_LEFT, _TOP, _WIDTH, _HEIGHT

    bool operator==(const TStoredGeometry&) const = default;
};

struct TGeometryLimits
{
    // The work area of the monitor nearest each window's stored place.
    TPlainRect MainWorkArea;
    TPlainRect FileListWorkArea;
    // The smallest sizes each window takes.
    int MainMinWidth = 0;
    int MainMinHeight = 0;
    int FileListMinWidth = 0;
    int FileListMinHeight = 0;
    // The smallest open size of a pane (the splitters'), and the parts of
    // the main window's height and width that are not the waveform's row or
    // the side pane: frame, toolbars, status bar, splitter and the smallest
    // region list or waveform the splitter leaves.
    int PaneMinSize = 0;
    int HeightBesidesUpperRow = 0;
    int WidthBesidesSidePane = 0;
};

TStoredGeometry GeometryToApply(const TStoredGeometry& stored, const TGeometryLimits& limits);

// Whether window shows on area by the rule above.
bool CaptionPieceOnArea(const TPlainRect& window, const TPlainRect& area);
