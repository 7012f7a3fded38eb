#include "SkinLists.h"

#include "SkinUxThemes.h"

#include "classlib/Graphics.h"
#include "classlib/HiddenWindow.h"
#include "classlib/ImageList.h"

#include <algorithm>

namespace {

constexpr UINT_PTR kTimerId = 1;
// The minimum thumb length, pixels.
constexpr int kMinThumb = 8;
// Dragged past the list's end: slower while this close to it.
constexpr int kNearEdge = 10;
constexpr UINT kNearEdgeInterval = 150;
constexpr UINT kFarInterval = 100;
// Padding of a row's content: sides, top and bottom; the gap after an image.
constexpr int kRowSidePad = 4;
constexpr int kRowEndPad = 1;
constexpr int kImageGap = 4;

// The "SCROLLBAR" style's arrow parts and their first states.
constexpr int kArrowPart = 1;
constexpr int kThumbPartVertical = 3;
constexpr int kThumbPartHorizontal = 2;
constexpr int kArrowUpNormal = 1, kArrowDownNormal = 5, kArrowLeftNormal = 9,
              kArrowRightNormal = 13;
constexpr int kStateHot = 1, kStatePushed = 2, kStateDisabled = 3;

} // namespace

// --- TSkinScrollBar ------------------------------------------------------------------

void TSkinScrollBar::SetRange(int range, int pageSize)
{
    FRange = std::max(0, range);
    FPageSize = std::max(0, pageSize);
    SetPosition(FPosition);
}

int TSkinScrollBar::MaxPosition() const
{
    return std::max(0, FRange - FPageSize);
}

void TSkinScrollBar::SetPosition(int value)
{
    value = std::clamp(value, 0, MaxPosition());
    if (value == FPosition)
        return;
    FPosition = value;
    if (OnChange)
        OnChange(this);
}

int TSkinScrollBar::ArrowLength() const
{
    const int across = Vertical() ? FBounds.Width() : FBounds.Height();
    return std::max(0, std::min(across, (End() - Start()) / 2));
}

int TSkinScrollBar::ThumbLength() const
{
    const int track = End() - Start() - 2 * ArrowLength();
    if (track <= 0 || FRange <= 0)
        return 0;
    const int length = static_cast<int>(static_cast<long long>(track) * FPageSize / FRange);
    return std::min(track, std::max(kMinThumb, length));
}

int TSkinScrollBar::ThumbStart() const
{
    const int trackStart = Start() + ArrowLength();
    const int room = End() - ArrowLength() - trackStart - ThumbLength();
    const int max = MaxPosition();
    if (room <= 0 || max <= 0)
        return trackStart;
    return trackStart + static_cast<int>(static_cast<long long>(room) * FPosition / max);
}

TRect TSkinScrollBar::Span(int from, int to) const
{
    if (to < from)
        to = from;
    return Vertical() ? TRect(FBounds.left, from, FBounds.right, to)
                      : TRect(from, FBounds.top, to, FBounds.bottom);
}

TRect TSkinScrollBar::ZoneRect(int Zone) const
{
    const int arrow = ArrowLength();
    const int thumb = ThumbStart();
    switch (Zone) {
    case szFirstArrow:
        return Span(Start(), Start() + arrow);
    case szTrackBefore:
        return Span(Start() + arrow, thumb);
    case szThumb:
        return Span(thumb, thumb + ThumbLength());
    case szTrackAfter:
        return Span(thumb + ThumbLength(), End() - arrow);
    case szSecondArrow:
        return Span(End() - arrow, End());
    default:
        return TRect();
    }
}

int TSkinScrollBar::ZoneAt(const TPoint& P) const
{
    for (int zone = szFirstArrow; zone <= szSecondArrow; ++zone) {
        const RECT r = ZoneRect(zone);
        if (PtInRect(&r, P))
            return zone;
    }
    return szNone;
}

void TSkinScrollBar::Step(int zone)
{
    switch (zone) {
    case szFirstArrow:
        SetPosition(FPosition - FSmallStep);
        break;
    case szTrackBefore:
        SetPosition(FPosition - std::max(1, FPageSize));
        break;
    case szTrackAfter:
        SetPosition(FPosition + std::max(1, FPageSize));
        break;
    case szSecondArrow:
        SetPosition(FPosition + FSmallStep);
        break;
    default:
        break;
    }
}

bool TSkinScrollBar::SetHotZone(int zone)
{
    if (zone == FHotZone)
        return false;
    FHotZone = zone;
    return true;
}

int TSkinScrollBar::Press(const TPoint& P)
{
    FPressedZone = ZoneAt(P);
    if (FPressedZone == szThumb)
        FDragOffset = Along(P) - ThumbStart();
    else
        Step(FPressedZone);
    return FPressedZone;
}

void TSkinScrollBar::Repeat(const TPoint& P)
{
    if (FPressedZone != szThumb && FPressedZone != szNone && ZoneAt(P) == FPressedZone)
        Step(FPressedZone);
}

void TSkinScrollBar::Drag(const TPoint& P)
{
    if (FPressedZone != szThumb)
        return;
    const int trackStart = Start() + ArrowLength();
    const int room = End() - ArrowLength() - trackStart - ThumbLength();
    if (room <= 0)
        return;
    const long long offset = Along(P) - FDragOffset - trackStart;
    const int position = static_cast<int>((offset * MaxPosition() + room / 2) / room);
    SetPosition(position);
}

void TSkinScrollBar::PaintArrow(TCanvas* Canvas, int zone, bool Enabled)
{
    RECT r = ZoneRect(zone);
    const bool first = zone == szFirstArrow;
    const bool pushed = FPressedZone == zone;
    const TVisualStyleEntryPoints& styles = VisualStyleEntryPoints();
    HTHEME style = SkinCache().Styles[static_cast<int>(TSkinStyleClass::ScrollBar)];
    if (SkinCache().VisualStylesActive && style && styles.DrawThemeBackground) {
        int state = Vertical() ? (first ? kArrowUpNormal : kArrowDownNormal)
                               : (first ? kArrowLeftNormal : kArrowRightNormal);
        if (!Enabled)
            state += kStateDisabled;
        else if (pushed)
            state += kStatePushed;
        else if (FHotZone == zone)
            state += kStateHot;
        styles.DrawThemeBackground(style, Canvas->Handle(), kArrowPart, state, &r, nullptr);
        return;
    }
    UINT flags = Vertical() ? (first ? DFCS_SCROLLUP : DFCS_SCROLLDOWN)
                            : (first ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
    if (pushed)
        flags |= DFCS_PUSHED;
    if (!Enabled)
        flags |= DFCS_INACTIVE;
    DrawFrameControl(Canvas->Handle(), &r, DFC_SCROLL, flags);
}

void TSkinScrollBar::Paint(TCanvas* Canvas, bool Enabled)
{
    HDC dc = Canvas->Handle();
    for (int zone : {szTrackBefore, szTrackAfter}) {
        const RECT r = ZoneRect(zone);
        FillRect(dc, &r, GetSysColorBrush(COLOR_SCROLLBAR));
    }
    RECT thumb = ZoneRect(szThumb);
    if (thumb.bottom > thumb.top && thumb.right > thumb.left) {
        const TVisualStyleEntryPoints& styles = VisualStyleEntryPoints();
        HTHEME style = SkinCache().Styles[static_cast<int>(TSkinStyleClass::ScrollBar)];
        if (SkinCache().VisualStylesActive && style && styles.DrawThemeBackground) {
            styles.DrawThemeBackground(
                style, dc, Vertical() ? kThumbPartVertical : kThumbPartHorizontal,
                FPressedZone == szThumb ? 1 + kStatePushed : 1, &thumb, nullptr);
        } else {
            FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
            DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
        }
    }
    PaintArrow(Canvas, szFirstArrow, Enabled);
    PaintArrow(Canvas, szSecondArrow, Enabled);
}

// --- TSkinCustomList -------------------------------------------------------------------

TSkinCustomList::TSkinCustomList(TComponent* AOwner) : TSkinCustomItem(AOwner)
{
    SetMinWidth(32);
}

TSkinCustomList::~TSkinCustomList()
{
    // Viewers that outlive the list no longer leave it.
    for (TSkinCustomListViewer* viewer : FViewers)
        viewer->FListed = false;
}

void TSkinCustomList::SetItemIndex(int value)
{
    FItemIndex = value;
    for (TSkinCustomListViewer* viewer : std::vector<TSkinCustomListViewer*>(FViewers))
        viewer->MakeVisible(value);
    DoIndexChanged();
}

void TSkinCustomList::DoIndexChanged()
{
    if (OnChange)
        OnChange(this);
}

bool TSkinCustomList::DoDrawItem(TCanvas* Canvas, const TRect& ARect, int Index, bool Hot)
{
    bool paintDefault = true;
    if (OnDrawItem)
        OnDrawItem(this, Canvas, ARect, Index, Hot, paintDefault);
    return paintDefault;
}

bool TSkinCustomList::DoFillItemBackground(TCanvas* Canvas, const TRect& ARect, int Index, bool Hot)
{
    bool paintDefault = true;
    if (OnFillItemBackground)
        OnFillItemBackground(this, Canvas, ARect, Index, Hot, paintDefault);
    return paintDefault;
}

void TSkinCustomList::DrawItem(TCanvas* Canvas, TSkinCustomListViewer* Viewer, const TRect& ARect,
                               int Index, bool Hot)
{
    Canvas->Brush()->SetColor(Hot ? clHighlight : clWindow);
    if (DoFillItemBackground(Canvas, ARect, Index, Hot))
        Canvas->FillRect(ARect);
    Canvas->Font()->SetColor(Hot ? clHighlightText : clWindowText);
    if (!DoDrawItem(Canvas, ARect, Index, Hot))
        return;
    TRect r = ARect;
    InflateRect(&r, -kRowSidePad, -kRowEndPad);
    TCustomImageList* images = Images();
    if (FShowImages && images) {
        const int top = r.top + (r.Height() - images->Height()) / 2;
        const TRect image(r.left, top, r.left + images->Width(), top + images->Height());
        const int index = GetImageIndex(Index);
        if (index >= 0 && index < images->Count()) {
            if (Enabled())
                images->Draw(Canvas, image.left, image.top, index);
            else
                DrawImageByTheme(Canvas, image, images, index, svsDisabled);
        }
        r.left += images->Width() + kImageGap;
    }
    AnsiString text;
    GetRowText(Index, text);
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    RECT textRect = r;
    DrawTextA(Canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
}

TBarItemViewerClass TSkinCustomList::ViewerClassForItem(TBarView*)
{
    return NewBarViewer<TSkinCustomListViewer>;
}

// --- TSkinCustomListViewer ------------------------------------------------------------------

TSkinCustomListViewer::TSkinCustomListViewer(TBarView* View, TBarCustomItem* Item, int GroupLevel)
    : TSkinItemViewer(View, Item, GroupLevel)
{
    FTimerWindow = AllocateHWnd(TWndMethod(this, &TSkinCustomListViewer::TimerWndProc));
    List()->FViewers.push_back(this);
    FHotIndex = List()->ItemIndex();
}

TSkinCustomListViewer::~TSkinCustomListViewer()
{
    StopTimer();
    DeallocateHWnd(FTimerWindow);
    delete FScrollBar;
    if (!FListed)
        return;
    auto& viewers = List()->FViewers;
    viewers.erase(std::remove(viewers.begin(), viewers.end(), this), viewers.end());
}

int TSkinCustomListViewer::RowHeight()
{
    int height = TScreenTextMeasure(*FView->GetFont()).Metrics().tmHeight;
    if (List()->ShowImages() && List()->Images())
        height = std::max(height, List()->Images()->Height());
    height += 2 * kRowEndPad;
    List()->DoGetRowHeight(height);
    return std::max(1, height);
}

int TSkinCustomListViewer::VisibleRows()
{
    return std::max(1, std::min(List()->Count(), List()->MaxVisibleItems()));
}

void TSkinCustomListViewer::SetTopIndex(int value)
{
    value = std::clamp(value, 0, std::max(0, List()->Count() - VisibleRows()));
    if (value == FTopIndex)
        return;
    FTopIndex = value;
    if (FScrollBar)
        FScrollBar->SetPosition(value);
    Invalidate();
}

void TSkinCustomListViewer::MakeVisible(int Index)
{
    if (Index < 0 || Index >= List()->Count())
        return;
    if (Index < FTopIndex)
        SetTopIndex(Index);
    else if (Index >= FTopIndex + VisibleRows())
        SetTopIndex(Index - VisibleRows() + 1);
}

int TSkinCustomListViewer::RowAt(const TPoint& P)
{
    if (P.x < 0 || P.y < 0 || P.x >= FBoundsRect.Width() || P.y >= FBoundsRect.Height())
        return -1;
    if (FScrollBar && P.x >= FScrollBar->Bounds().left)
        return -1;
    const int row = FTopIndex + P.y / RowHeight();
    return row < List()->Count() ? row : -1;
}

void TSkinCustomListViewer::CalcSize(TCanvas* Canvas, int& Width, int& Height)
{
    TSkinCustomList* list = List();
    const int count = list->Count();
    HDC dc = Canvas->Handle();
    const int imageRoom =
        list->ShowImages() && list->Images() ? list->Images()->Width() + kImageGap : 0;
    Width = 0;
    for (int i = 0; i < count; ++i) {
        AnsiString text;
        list->GetRowText(i, text);
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        int width = 2 * kRowSidePad + imageRoom + size.cx;
        list->DoGetRowWidth(i, width);
        Width = std::max(Width, width);
    }
    if (count > list->MaxVisibleItems())
        Width += GetSystemMetrics(SM_CXVSCROLL);
    Width = std::max(Width, list->MinWidth());
    if (list->MaxWidth() > 0)
        Width = std::min(Width, list->MaxWidth());
    Height = std::max(VisibleRows() * RowHeight(), list->MinHeight());
}

void TSkinCustomListViewer::ArrangeScrollBar()
{
    const int count = List()->Count();
    if (count <= List()->MaxVisibleItems()) {
        delete FScrollBar;
        FScrollBar = nullptr;
        return;
    }
    if (!FScrollBar) {
        FScrollBar = new TSkinScrollBar(TSkinScrollBarKind::sbVertical);
        FScrollBar->OnChange = TNotifyEvent(this, &TSkinCustomListViewer::ScrollBarChanged);
    }
    const int width = GetSystemMetrics(SM_CXVSCROLL);
    FScrollBar->SetBounds(
        TRect(FBoundsRect.Width() - width, 0, FBoundsRect.Width(), FBoundsRect.Height()));
    FScrollBar->SetRange(count, VisibleRows());
    FScrollBar->SetPosition(FTopIndex);
}

void TSkinCustomListViewer::ScrollBarChanged(TObject*)
{
    SetTopIndex(FScrollBar->Position());
}

void TSkinCustomListViewer::Paint(TCanvas* Canvas, const TRect& ClientRect, bool, bool, bool)
{
    ArrangeScrollBar();
    const int count = List()->Count();
    const int height = RowHeight();
    const int right = FScrollBar ? FScrollBar->Bounds().left : ClientRect.right;
    Canvas->Brush()->SetColor(clWindow);
    Canvas->FillRect(TRect(ClientRect.left, ClientRect.top, right, ClientRect.bottom));
    for (int row = 0; row < VisibleRows(); ++row) {
        const int index = FTopIndex + row;
        if (index >= count)
            break;
        const int top = ClientRect.top + row * height;
        List()->DrawItem(Canvas, this, TRect(ClientRect.left, top, right, top + height), index,
                         index == FHotIndex);
    }
    if (FScrollBar)
        FScrollBar->Paint(Canvas, FItem->Enabled());
}

void TSkinCustomListViewer::SetHotIndex(int value)
{
    const int count = List()->Count();
    if (count == 0)
        value = -1;
    else
        value = std::clamp(value, 0, count - 1);
    if (value == FHotIndex)
        return;
    FHotIndex = value;
    MakeVisible(value);
    Invalidate();
}

void TSkinCustomListViewer::KeyDown(WORD& Key, TShiftState Shift)
{
    const int page = VisibleRows();
    const int from = FHotIndex;
    switch (Key) {
    case VK_RETURN:
        if (FHotIndex >= 0) {
            List()->SetItemIndex(FHotIndex);
            FView->ExecuteViewer(this, true);
        }
        break;
    case VK_UP:
        SetHotIndex(from < 0 ? 0 : from - 1);
        break;
    case VK_DOWN:
        SetHotIndex(from + 1);
        break;
    case VK_PRIOR:
        SetHotIndex(from < 0 ? 0 : from - page);
        break;
    case VK_NEXT:
        SetHotIndex(from + page);
        break;
    case VK_HOME:
        SetHotIndex(0);
        break;
    case VK_END:
        SetHotIndex(List()->Count() - 1);
        break;
    default:
        return;
    }
    Key = 0;
}

void TSkinCustomListViewer::StartTimer(TTimerUse use, UINT interval)
{
    FTimerUse = use;
    FTimerInterval = interval;
    SetTimer(FTimerWindow, kTimerId, interval, nullptr);
}

void TSkinCustomListViewer::StopTimer()
{
    if (FTimerUse != TTimerUse::None)
        KillTimer(FTimerWindow, kTimerId);
    FTimerUse = TTimerUse::None;
    FTimerInterval = 0;
}

void TSkinCustomListViewer::TimerWndProc(TMessage& message)
{
    if (message.Msg == WM_TIMER && message.WParam == kTimerId) {
        TimerTick();
        message.Result = 0;
        return;
    }
    message.Result = DefWindowProcA(FTimerWindow, message.Msg, message.WParam, message.LParam);
}

int TSkinCustomListViewer::DragScrollDirection(int y, UINT& interval)
{
    const int height = FBoundsRect.Height();
    int beyond = 0;
    int direction = 0;
    if (y < 0) {
        direction = -1;
        beyond = -y;
    } else if (y >= height) {
        direction = 1;
        beyond = y - height + 1;
    }
    interval = beyond <= kNearEdge ? kNearEdgeInterval : kFarInterval;
    return direction;
}

void TSkinCustomListViewer::TimerTick()
{
    switch (FTimerUse) {
    case TTimerUse::ScrollBar:
        if (FScrollBar)
            FScrollBar->Repeat(FMouse);
        StartTimer(TTimerUse::ScrollBar, TSkinScrollBar::kNextRepeat);
        break;
    case TTimerUse::DragScroll: {
        UINT interval = 0;
        const int direction = DragScrollDirection(FMouse.y, interval);
        if (direction == 0) {
            StopTimer();
            return;
        }
        SetHotIndex(FHotIndex + direction);
        StartTimer(TTimerUse::DragScroll, interval);
        break;
    }
    case TTimerUse::None:
        KillTimer(FTimerWindow, kTimerId);
        break;
    }
}

void TSkinCustomListViewer::MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu)
{
    FMouse = TPoint(X, Y);
    ArrangeScrollBar();
    if (FScrollBar && PtInRect(&FScrollBar->Bounds(), POINT{X, Y})) {
        MouseDownOnMenu = true;
        if (FItem->Enabled() && FScrollBar->Press(FMouse) != szThumb)
            StartTimer(TTimerUse::ScrollBar, TSkinScrollBar::kFirstRepeat);
        Invalidate();
        return;
    }
    FPressedOnRows = true;
    const int row = RowAt(FMouse);
    if (row >= 0)
        SetHotIndex(row);
    TSkinItemViewer::MouseDown(Shift, X, Y, MouseDownOnMenu);
}

void TSkinCustomListViewer::MouseMove(int X, int Y)
{
    FMouse = TPoint(X, Y);
    if (FScrollBar && FScrollBar->PressedZone() == szThumb) {
        FScrollBar->Drag(FMouse);
        return;
    }
    if (FScrollBar && FScrollBar->PressedZone() != szNone)
        return;
    if (FScrollBar && FScrollBar->SetHotZone(FScrollBar->ZoneAt(FMouse)))
        Invalidate();
    UINT interval = 0;
    if (FPressedOnRows && DragScrollDirection(Y, interval) != 0) {
        if (FTimerUse != TTimerUse::DragScroll || FTimerInterval != interval)
            StartTimer(TTimerUse::DragScroll, interval);
        return;
    }
    if (FTimerUse == TTimerUse::DragScroll)
        StopTimer();
    const int row = RowAt(FMouse);
    if (row >= 0)
        SetHotIndex(row);
}

void TSkinCustomListViewer::MouseUp(int X, int Y, bool MouseWasDownOnMenu)
{
    FMouse = TPoint(X, Y);
    const bool onScrollBar = FScrollBar && FScrollBar->PressedZone() != szNone;
    FPressedOnRows = false;
    StopTimer();
    if (onScrollBar) {
        FScrollBar->Release();
        Invalidate();
        return;
    }
    const int row = RowAt(FMouse);
    if (row < 0 || !FItem->Enabled())
        return;
    List()->SetItemIndex(row);
    FView->ExecuteViewer(this, true);
}

void TSkinCustomListViewer::MouseWheel(int WheelDelta, bool& Handled, const TPoint&)
{
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    SetTopIndex(FTopIndex - WheelDelta / WHEEL_DELTA * static_cast<int>(lines));
    Handled = true;
}

void TSkinCustomListViewer::LosingCapture()
{
    StopTimer();
    FPressedOnRows = false;
    if (FScrollBar)
        FScrollBar->Release();
    TSkinItemViewer::LosingCapture();
}
