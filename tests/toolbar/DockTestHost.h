// A dockable window of fixed content for the dock tests, a form with a dock
// on each edge, and a log of the windows' events.
#pragma once

#include "toolbar/BarDock.h"

#include "support/FormFixture.h"

#include <string>
#include <vector>

namespace bar_testing {

// A dockable window whose content is a fixed size (turned on its side in a
// left-right dock). It may shrink along its row down to a length of its
// choosing, and has client-size limits when floating.
class TTestBar : public TBarCustomDockableWindow
{
public:
    // Content of width x height pixels.
    TTestBar(TComponent* owner, int width, int height);

    void SetContent(int width, int height);
    // Shrinks along its row (MinLength: pixels with the docked frame).
    void SetShrink(TBarShrinkMode mode, int minLength);
    void SetLimits(int minWidth, int minHeight, int maxWidth = 0, int maxHeight = 0);
    // Answers CM_DIALOGKEY with 1 and counts it.
    int DialogKeys() const { return FDialogKeys; }
    // The window moves rectangles of the size loop into this one instead.
    void SetSizingStepOverride(const TRect* rect);

    void LayOutContent(bool CanMoveControls, TBarHostKind DockType, bool Floating, TBarDock* Dock,
                       TPoint& NewSize) override;
    void NaturalSize(TPoint& Size) override;
    void SmallestShrunkSize(TPoint& Size) override;
    TBarShrinkMode ShrinkBehaviour() override { return FShrinkMode; }
    void SizeLimits(int& MinClientWidth, int& MinClientHeight, int& MaxClientWidth,
                    int& MaxClientHeight) override;
    void SizingStep(TRect& FrameRect, BYTE Sides) override;
    void WndProc(TMessage& message) override;

private:
    TPoint ContentFor(TBarHostKind kind) const;

    TPoint FContent; // pixels, as laid out in a row
    TBarShrinkMode FShrinkMode = TBarShrinkMode::tbsmNone;
    int FMinLength = 0;
    int FLimits[4] = {};
    int FDialogKeys = 0;
    bool FOverrideStep = false;
    TRect FStepRect;
};

// Records the events of dockable windows as short texts, in order.
struct DockEventLog
{
    std::vector<std::string> Entries;
    void Watch(TBarCustomDockableWindow* window);
    void Clear() { Entries.clear(); }
};

// A shown, active 640 x 480 form with a dock on each edge.
class DockFormTest : public testing_support::FormFixture
{
protected:
    void SetUp() override;
    void TearDown() override;
    // A bar of content width x height in dock at a row and position.
    TTestBar* AddBar(TBarDock* dock, int width, int height, int row = 0, int pos = 0,
                     const char* name = nullptr);
    // Screen rectangle of a window.
    static TRect ScreenRect(TWinControl* window);
    // A point on the drag handle of a bar docked at the top or bottom.
    static POINT HandlePoint(TBarCustomDockableWindow* bar);

    TBarDock* top = nullptr; // owned by the form
    TBarDock* bottom = nullptr;
    TBarDock* left = nullptr;
    TBarDock* right = nullptr;
};

} // namespace bar_testing
