// Messages between the class library's windows and controls.
//
//   TMessage   one window message and its result, as the window procedures
//              pass it along a control's WindowProc chain
//   CM_*       the library's private messages between controls (from CM_BASE)
//   CN_*       notifications a parent reflects to the control that sent them
//              (CN_BASE + the original message: WM_COMMAND becomes CN_COMMAND)
//   THintInfo  what CM_HINTSHOW lets a control change before its hint shows
//
// The private messages lie above WM_APP, so a system window procedure that
// receives one by mistake ignores it and answers 0.
#pragma once

#include "Types.h"

#include <windows.h>

struct TMessage
{
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Messages of the theme layer that any control may be sent. They lie in the
// range where the system's controls keep messages of their own, so a control
// that does not answer one never hands it to a system window procedure: it
// answers 0.
constexpr UINT WM_SKIN_VIEWTYPE = 1261;       // the result: the view type
constexpr UINT WM_SKIN_EFFECTIVECOLOR = 1262; // the colour in WParam, result 1
// WParam 1, 2, 3 for one change of colours, settings or visual style; 4 the
// application became active, 5 inactive.
constexpr UINT WM_SKIN_SYSCHANGE = 1336;
// WParam 1 before, 2 during, 3 after; LParam 1 for a theme switch, 0 for a
// system change passed on.
constexpr UINT WM_SKIN_THEMECHANGE = 1338;
inline bool IsSkinMessage(UINT msg)
{
    return msg == WM_SKIN_VIEWTYPE || msg == WM_SKIN_EFFECTIVECOLOR || msg == WM_SKIN_SYSCHANGE ||
           msg == WM_SKIN_THEMECHANGE;
}

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
// WParam: virtual key; LParam: key data. Result 1 when a control took the key.
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
// WParam: character; LParam: key data. Result 1 when an accelerator took it.
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
// LParam: the control that now has the focus.
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
// LParam: the control the mouse entered or left.
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
// Sent to the application window after the form's shortcuts declined a key.
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
// A form's WM_SYSCOMMAND(SC_KEYMENU), passed on to the application window.
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
// WParam: virtual key. Result 1 when the control wants the key itself.
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;
constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
// WParam: the control; LParam: 1 inserted, 0 removed.
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
// WParam: virtual key; LParam: the child that saw it. Result 1 when taken.
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
// LParam: THintInfo*. Result 0 shows the hint, non-zero suppresses it.
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
// WParam: the control; LParam: 1 inserted, 0 removed.
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
// LParam: TBasicAction*. Result 1 when a control handled it.
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

class TControl;
class THintWindow;

// Makes the window that shows a hint; CM_HINTSHOW may replace it.
using THintWindowFactory = THintWindow* (*)(TControl* owner);

struct THintInfo
{
    TControl* HintControl = nullptr; // not owned: the control under the mouse
    THintWindowFactory HintWindowClass = nullptr;
    TPoint HintPos;       // screen coordinates of the hint's top left
    int HintMaxWidth = 0; // pixels
    TColor HintColor = clInfoBk;
    TRect CursorRect;      // client coordinates of HintControl
    TPoint CursorPos;      // client coordinates of HintControl
    int ReshowTimeout = 0; // ms; 0: no reshow
    int HideTimeout = 0;   // ms
    AnsiString HintStr;    // the short hint to show
    void* HintData = nullptr;
};
