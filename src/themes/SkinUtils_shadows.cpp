// Drop shadows: the alpha of a strip, the strips around one or two
// rectangles, and the strip windows.
#include "SkinUtils.h"

#include "classlib/Application.h"
#include "classlib/Graphics.h"

#include <algorithm>

namespace {

// The alpha at (along, across) of a strip of the given length and
// thickness that fades across, with faded ends as edges says.
BYTE StripAlphaAt(int along, int across, int length, int thickness, unsigned edges)
{
    const bool startFaded = edges & seStart, endFaded = edges & seEnd;
    int startCorner = startFaded ? thickness : 0;
    int endCorner = endFaded ? thickness : 0;
    if (startFaded && endFaded && length < 2 * thickness)
        startCorner = endCorner = length / 2;
    else if (length < thickness)
        startCorner = startFaded ? length : 0, endCorner = endFaded ? length : 0;

    int distance = -1; // from the corner's inner edge; -1 outside the corners
    if (along < startCorner)
        distance = startCorner - 1 - along;
    else if (along >= length - endCorner)
        distance = along - (length - endCorner);
    if (distance < 0)
        return static_cast<BYTE>(255 - across * 256 / thickness);
    const int radial = 255 - 128 * (distance + across + std::max(distance, across)) / thickness;
    return static_cast<BYTE>(std::max(radial, 0));
}

// r without the part of cut along its length (the strip is thin, so a cut
// that meets it takes its whole thickness): up to two pieces, each keeping
// only the faded ends that remain its own.
std::vector<TShadowStripPlan> CutStrip(const TShadowStripPlan& strip, const TRect& cut)
{
    const TRect& s = strip.Bounds;
    RECT overlap;
    if (!IntersectRect(&overlap, &s, &cut))
        return {strip};
    std::vector<TShadowStripPlan> pieces;
    auto add = [&](const TRect& r, unsigned edges) {
        if (!r.IsEmpty())
            pieces.push_back({r, strip.Horizontal, edges});
    };
    if (strip.Horizontal) {
        add(TRect(s.left, s.top, overlap.left, s.bottom), strip.Edges & seStart);
        add(TRect(overlap.right, s.top, s.right, s.bottom), strip.Edges & seEnd);
    } else {
        add(TRect(s.left, s.top, s.right, overlap.top), strip.Edges & seStart);
        add(TRect(s.left, overlap.bottom, s.right, s.bottom), strip.Edges & seEnd);
    }
    return pieces;
}

// The right and bottom strips of one rectangle.
std::vector<TShadowStripPlan> OutlineStrips(const TRect& r, int size)
{
    std::vector<TShadowStripPlan> strips;
    TRect right(r.right, r.top + size, r.right + size, r.bottom);
    TRect bottom(r.left + size, r.bottom, r.right + size, r.bottom + size);
    if (!right.IsEmpty())
        strips.push_back({right, false, seStart});
    if (!bottom.IsEmpty())
        strips.push_back({bottom, true, seStart | seEnd});
    return strips;
}

bool RectsTouch(const TRect& a, const TRect& b)
{
    TRect grown = a;
    InflateRect(&grown, 2, 2);
    RECT common;
    return IntersectRect(&common, &grown, &b) != FALSE;
}

constexpr int kMaxStrips = 6;

} // namespace

std::vector<BYTE> ShadowStripAlpha(bool horizontal, int width, int height, unsigned edges)
{
    std::vector<BYTE> alpha;
    if (width <= 0 || height <= 0)
        return alpha;
    alpha.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            alpha[static_cast<size_t>(y) * width + x] =
                horizontal ? StripAlphaAt(x, y, width, height, edges)
                           : StripAlphaAt(y, x, height, width, edges);
    return alpha;
}

std::vector<TShadowStripPlan> PlanShadowStrips(const TRect& r1, const TRect& r2, int size)
{
    if (size <= 0 || (r1.IsEmpty() && r2.IsEmpty()))
        return {};
    if (r1.IsEmpty() || r2.IsEmpty())
        return OutlineStrips(r1.IsEmpty() ? r2 : r1, size);
    // Upper (or, level, left) rectangle first.
    const bool firstLeads = r1.top < r2.top || (r1.top == r2.top && r1.left <= r2.left);
    const TRect& a = firstLeads ? r1 : r2;
    const TRect& b = firstLeads ? r2 : r1;
    // Touching rectangles share one outline: no strip falls on the other
    // rectangle. Apart, each casts its own.
    const bool touching = RectsTouch(a, b);
    std::vector<TShadowStripPlan> plans;
    auto addCut = [&](const TRect& owner, const TRect& other) {
        for (const TShadowStripPlan& strip : OutlineStrips(owner, size)) {
            const std::vector<TShadowStripPlan> pieces =
                touching ? CutStrip(strip, other) : std::vector<TShadowStripPlan>{strip};
            for (const TShadowStripPlan& piece : pieces)
                if (static_cast<int>(plans.size()) < kMaxStrips)
                    plans.push_back(piece);
        }
    };
    addCut(a, b);
    addCut(b, a);
    return plans;
}

// --- TShadow ---------------------------------------------------------------------------

TShadow::TShadow(const TRect& r, unsigned edges, bool loColor, BYTE alpha)
    : TCustomControl(nullptr), FStripAlpha(alpha), FEdges(edges)
{
    const TSkinSystemRoutines& routines = SkinSystemRoutines();
    if (!loColor && routines.UpdateLayeredWindow && routines.AlphaBlend)
        FStyle = TShadowStyle::Layered;
    else if (routines.AlphaBlend)
        FStyle = TShadowStyle::Blended;
    else
        FStyle = TShadowStyle::None;
    SetVisible(false);
    SetColor(clBtnShadow);
    if (Application)
        SetParentWindow(Application->Handle());
    SetBounds(r.left, r.top, r.Width(), r.Height());
}

TShadow::~TShadow()
{
    delete FBitmap;
}

void TShadow::SetSaveBits(bool value)
{
    SetWindowStyleProperty(FSaveBits, value);
}

void TShadow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FStyle == TShadowStyle::Layered)
        params.ExStyle |= WS_EX_LAYERED;
    if (FSaveBits) {
        params.WindowClass.style |= CS_SAVEBITS;
        params.WinClassName += "SaveBits";
    }
}

void TShadow::CreateWnd()
{
    TCustomControl::CreateWnd();
    if (FStyle != TShadowStyle::None) {
        FillBitmap();
        if (FStyle == TShadowStyle::Layered)
            ShowLayered();
    }
}

void TShadow::FillBitmap()
{
    if (!FBitmap) {
        FBitmap = new TBitmap();
        FBitmap->SetPixelFormat(TPixelFormat::pf32bit);
    }
    const int width = Width(), height = Height();
    FBitmap->SetSize(width, height);
    if (width <= 0 || height <= 0)
        return;
    const std::vector<BYTE> alpha = ShadowStripAlpha(Horizontal(), width, height, FEdges);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<DWORD*>(FBitmap->ScanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = static_cast<DWORD>(alpha[static_cast<size_t>(y) * width + x]) << 24;
    }
}

void TShadow::ShowLayered()
{
    const TSkinSystemRoutines& routines = SkinSystemRoutines();
    if (!routines.UpdateLayeredWindow || !FBitmap || FBitmap->Empty())
        return;
    POINT position = {Left(), Top()};
    SIZE size = {Width(), Height()};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, FStripAlpha, AC_SRC_ALPHA};
    TScreenDC screen;
    routines.UpdateLayeredWindow(WindowHandle(), screen.Handle(), &position, &size,
                                 FBitmap->Canvas()->Handle(), &origin, 0, &blend, ULW_ALPHA);
}

void TShadow::BlendOnto(HDC dc)
{
    const TSkinSystemRoutines& routines = SkinSystemRoutines();
    if (!routines.AlphaBlend || !FBitmap || FBitmap->Empty())
        return;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, FStripAlpha, AC_SRC_ALPHA};
    routines.AlphaBlend(dc, 0, 0, Width(), Height(), FBitmap->Canvas()->Handle(), 0, 0, Width(),
                        Height(), blend);
}

void TShadow::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCHITTEST:
        message.Result = HTTRANSPARENT;
        return;
    case WM_ERASEBKGND:
        if (FStyle == TShadowStyle::None)
            break;
        if (FStyle == TShadowStyle::Blended)
            BlendOnto(reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        return;
    }
    TCustomControl::WndProc(message);
}

void TShadow::Paint() {}

// --- TShadows --------------------------------------------------------------------------

TShadows::TShadows(const TRect& r1, const TRect& r2, int size, BYTE alpha, bool loColor)
    : FSize(size)
{
    const TSkinSystemRoutines& routines = SkinSystemRoutines();
    if (loColor || (!routines.UpdateLayeredWindow && !routines.AlphaBlend))
        FSize /= 2;
    for (const TShadowStripPlan& plan : PlanShadowStrips(r1, r2, FSize)) {
        TShadow* strip =
            plan.Horizontal
                ? static_cast<TShadow*>(new THorzShadow(plan.Bounds, plan.Edges, loColor, alpha))
                : new TVertShadow(plan.Bounds, plan.Edges, loColor, alpha);
        FStrips.push_back(strip);
        strip->HandleNeeded();
    }
}

TShadows::~TShadows()
{
    for (TShadow* strip : FStrips)
        delete strip;
}

void TShadows::Show(HWND after)
{
    for (TShadow* strip : FStrips)
        SetWindowPos(strip->Handle(), after, 0, 0, 0, 0,
                     SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void TShadows::ApplySaveBits(bool value)
{
    for (TShadow* strip : FStrips)
        strip->SetSaveBits(value);
}
