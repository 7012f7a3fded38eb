#include "DockTestHost.h"

#include "support/WindowDriver.h"

#include <cstdio>

namespace bar_testing {

TTestBar::TTestBar(TComponent* owner, int width, int height)
    : TBarCustomDockableWindow(owner), FContent(width, height)
{
    SetBounds(0, 0, width, height);
}

void TTestBar::SetContent(int width, int height)
{
    FContent = TPoint(width, height);
    Arrange();
}

void TTestBar::SetShrink(TBarShrinkMode mode, int minLength)
{
    FShrinkMode = mode;
    FMinLength = minLength;
}

void TTestBar::SetLimits(int minWidth, int minHeight, int maxWidth, int maxHeight)
{
    FLimits[0] = minWidth;
    FLimits[1] = minHeight;
    FLimits[2] = maxWidth;
    FLimits[3] = maxHeight;
}

void TTestBar::SetSizingStepOverride(const TRect* rect)
{
    FOverrideStep = rect != nullptr;
    if (rect)
        FStepRect = *rect;
}

TPoint TTestBar::ContentFor(TBarHostKind kind) const
{
    if (kind == TBarHostKind::hkVertDock)
        return TPoint(FContent.y, FContent.x);
    return FContent;
}

void TTestBar::LayOutContent(bool, TBarHostKind DockType, bool, TBarDock*, TPoint& NewSize)
{
    NewSize = ContentFor(DockType);
}

void TTestBar::NaturalSize(TPoint& Size)
{
    Size = ContentFor(DockType());
}

void TTestBar::SmallestShrunkSize(TPoint& Size)
{
    if (FMinLength > 0)
        Size = TPoint(FMinLength, FMinLength);
}

void TTestBar::SizeLimits(int& MinClientWidth, int& MinClientHeight, int& MaxClientWidth,
                          int& MaxClientHeight)
{
    MinClientWidth = FLimits[0];
    MinClientHeight = FLimits[1];
    MaxClientWidth = FLimits[2];
    MaxClientHeight = FLimits[3];
}

void TTestBar::SizingStep(TRect& FrameRect, BYTE)
{
    if (FOverrideStep)
        FrameRect = FStepRect;
}

void TTestBar::WndProc(TMessage& message)
{
    if (message.Msg == CM_DIALOGKEY) {
        ++FDialogKeys;
        message.Result = 1;
        return;
    }
    TBarCustomDockableWindow::WndProc(message);
}

namespace {

std::string DockName(TBarDock* dock)
{
    return dock ? dock->Name() : std::string("none");
}

} // namespace

void DockEventLog::Watch(TBarCustomDockableWindow* window)
{
    window->OnDockChanging = TBarDockChangingEvent([this](TObject*, bool floating, TBarDock* dock) {
        Entries.push_back("changing " + std::string(floating ? "floating" : DockName(dock)));
    });
    window->OnDockChangingHidden = TBarDockChangingEvent([this](TObject*, bool floating,
                                                                TBarDock* dock) {
        Entries.push_back("changing hidden " + std::string(floating ? "floating" : DockName(dock)));
    });
    window->OnRecreating = TNotifyEvent([this](TObject*) { Entries.push_back("recreating"); });
    window->OnRecreated = TNotifyEvent([this](TObject*) { Entries.push_back("recreated"); });
    window->OnDockChanged = TNotifyEvent([this, window](TObject*) {
        Entries.push_back("changed " + std::string(window->Floating()
                                                       ? "floating"
                                                       : DockName(window->CurrentDock())));
    });
    window->OnMove = TNotifyEvent([this](TObject*) { Entries.push_back("move"); });
}

void DockFormTest::SetUp()
{
    FormFixture::SetUp();
    form->SetBounds(100, 100, 640, 480);
    auto makeDock = [this](TBarDockPosition position, const char* name) {
        TBarDock* dock = MakeChildControl<TBarDock>(form, form, name);
        dock->SetPosition(position);
        return dock;
    };
    top = makeDock(TBarDockPosition::dpTop, "TopDock");
    bottom = makeDock(TBarDockPosition::dpBottom, "BottomDock");
    left = makeDock(TBarDockPosition::dpLeft, "LeftDock");
    right = makeDock(TBarDockPosition::dpRight, "RightDock");
    testing_support::ActivateForm(form);
}

void DockFormTest::TearDown()
{
    if (GetCapture())
        ReleaseCapture();
    FormFixture::TearDown();
}

TTestBar* DockFormTest::AddBar(TBarDock* dock, int width, int height, int row, int pos,
                               const char* name)
{
    auto* bar = new TTestBar(form, width, height);
    if (name)
        bar->SetName(name);
    bar->SetDockRow(row);
    bar->SetDockPos(pos);
    bar->SetCurrentDock(dock);
    testing_support::PumpMessages();
    return bar;
}

TRect DockFormTest::ScreenRect(TWinControl* window)
{
    RECT r;
    GetWindowRect(window->Handle(), &r);
    return r;
}

POINT DockFormTest::HandlePoint(TBarCustomDockableWindow* bar)
{
    TRect r = ScreenRect(bar);
    return POINT{r.left + 4, r.top + r.Height() / 2};
}

} // namespace bar_testing
