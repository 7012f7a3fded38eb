#include "Screen.h"

#include "Form.h"
#include "Seams.h"
#include "WinControl.h"

#include <algorithm>

TScreen* Screen = nullptr;

namespace {

struct LibraryCursor
{
    TCursor Index;
    LPCSTR SystemCursor;
};

const LibraryCursor kLibraryCursors[] = {
    {crDefault, IDC_ARROW},        {crArrow, IDC_ARROW},
    {crCross, IDC_CROSS},          {crIBeam, IDC_IBEAM},
    {crSizeNESW, IDC_SIZENESW},    {crSizeNS, IDC_SIZENS},
    {crSizeNWSE, IDC_SIZENWSE},    {crSizeWE, IDC_SIZEWE},
    {crUpArrow, IDC_UPARROW},      {crHourGlass, IDC_WAIT},
    {crDrag, IDC_ARROW},           {crNoDrop, IDC_NO},
    {crHSplit, IDC_SIZEWE},        {crVSplit, IDC_SIZENS},
    {crMultiDrag, IDC_ARROW},      {crNo, IDC_NO},
    {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
    {crHandPoint, IDC_HAND},       {crSizeAll, IDC_SIZEALL},
};

} // namespace

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner)
{
    if (!Screen)
        Screen = this;
}

TScreen::~TScreen()
{
    if (Screen == this)
        Screen = nullptr;
}

HCURSOR TScreen::Cursors(TCursor index) const
{
    auto registered = FCursors.find(index);
    if (registered != FCursors.end())
        return registered->second;
    if (index == crNone)
        return nullptr;
    for (const LibraryCursor& c : kLibraryCursors)
        if (c.Index == index)
            return LoadCursorA(nullptr, c.SystemCursor);
    return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

void TScreen::SetCursors(TCursor index, HCURSOR handle)
{
    if (handle)
        FCursors[index] = handle;
    else
        FCursors.erase(index);
}

void TScreen::SetCursor(TCursor value)
{
    if (value == FCursor)
        return;
    FCursor = value;
    if (value != crDefault) {
        ::SetCursor(Cursors(value));
        return;
    }
    // Let the window under the mouse choose again.
    POINT pos = Seams().CursorPos();
    HWND window = WindowFromPoint(pos);
    if (window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                     MAKELPARAM(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(pos.x, pos.y)),
                                WM_MOUSEMOVE));
}

bool TScreen::HasForm(const TCustomForm* form) const
{
    return std::find(FForms.begin(), FForms.end(), form) != FForms.end();
}

void TScreen::AddForm(TCustomForm* form)
{
    if (!HasForm(form))
        FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    auto it = std::find(FForms.begin(), FForms.end(), form);
    if (it != FForms.end())
        FForms.erase(it);
    if (FActiveForm == form) {
        FActiveForm = nullptr;
        FActiveControl = nullptr;
        if (OnActiveFormChange)
            OnActiveFormChange(this);
    }
}

void TScreen::FormActivated(TCustomForm* form)
{
    auto it = std::find(FForms.begin(), FForms.end(), form);
    if (it != FForms.end())
        std::rotate(FForms.begin(), it, it + 1);
    if (form == FActiveForm)
        return;
    FActiveForm = form;
    if (form)
        FActiveControl = form->ActiveControl();
    if (OnActiveFormChange)
        OnActiveFormChange(this);
}

void TScreen::FocusChanged(TCustomForm* form, TWinControl* control)
{
    if (form != FActiveForm && form)
        FormActivated(form);
    if (control == FActiveControl)
        return;
    FActiveControl = control;
    if (OnActiveControlChange)
        OnActiveControlChange(this);
}

void TScreen::ControlRemoving(TWinControl* control)
{
    for (TControl* c = FActiveControl; c; c = c->Parent())
        if (c == control) {
            FActiveControl = nullptr;
            break;
        }
}

int TScreen::Width() const
{
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const
{
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::WorkAreaRect() const
{
    RECT r;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0))
        r = {0, 0, Width(), Height()};
    return TRect(r);
}
