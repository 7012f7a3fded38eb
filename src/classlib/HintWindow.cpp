#include "HintWindow.h"

#include <algorithm>

namespace {

constexpr int kHintMargin = 2; // pixels between the border and the text

// The bar is never a DBCS trail byte in code page 932, but walk by
// character anyway.
size_t FindHintBar(const AnsiString& hint)
{
    for (size_t i = 0; i < hint.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(hint[i])) && i + 1 < hint.size())
            ++i;
        else if (hint[i] == '|')
            return i;
    }
    return AnsiString::npos;
}

} // namespace

AnsiString GetShortHint(const AnsiString& hint)
{
    size_t bar = FindHintBar(hint);
    return bar == AnsiString::npos ? hint : hint.substr(0, bar);
}

AnsiString GetLongHint(const AnsiString& hint)
{
    size_t bar = FindHintBar(hint);
    return bar == AnsiString::npos ? hint : hint.substr(bar + 1);
}

THintWindow* CreateDefaultHintWindow(TControl* owner)
{
    return new THintWindow(owner);
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetVisible(false);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    params.WndParent = nullptr;
    params.WindowClass.style |= CS_SAVEBITS;
}

void THintWindow::WndProc(TMessage& m)
{
    if (m.Msg == WM_NCHITTEST) {
        m.Result = HTTRANSPARENT;
        return;
    }
    TCustomControl::WndProc(m);
}

TRect THintWindow::CalcHintRect(int maxWidth, const AnsiString& hint)
{
    RECT r = {0, 0, std::max(maxWidth, 1), 0};
    const TScreenTextMeasure measure(*Font());
    DrawHintText(measure.Handle(), hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    int border = 2 * GetSystemMetrics(SM_CXBORDER);
    return TRect(0, 0, r.right + 2 * kHintMargin + border + 4, r.bottom + 2 * kHintMargin + border);
}

void THintWindow::ActivateHint(const TRect& rect, const AnsiString& hint)
{
    SetCaption(hint);
    SetBounds(rect.left, rect.top, rect.Width(), rect.Height());
    SetWindowPos(Handle(), HWND_TOPMOST, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ReleaseHint()
{
    if (HandleAllocated() && IsWindowVisible(WindowHandle()))
        ShowWindow(WindowHandle(), SW_HIDE);
}

bool THintWindow::HintShowing()
{
    return HandleAllocated() && IsWindowVisible(WindowHandle());
}

void THintWindow::Paint()
{
    TRect r = ClientRect();
    HDC dc = Canvas()->Handle();
    RECT text = {r.left + kHintMargin + 2, r.top + kHintMargin, r.right - kHintMargin,
                 r.bottom - kHintMargin};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    TSelectedObject font(dc, Font()->Handle());
    DrawHintText(dc, Caption(), text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

void THintWindow::DrawHintText(HDC dc, const AnsiString& hint, RECT& rect, UINT format)
{
    DrawTextA(dc, hint.c_str(), -1, &rect, format);
}
