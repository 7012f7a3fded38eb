// A bare window that shows one view of an item tree, as a toolbar or a popup
// window does: it paints the view, prints itself for the animation, and
// draws the animation's frames.
#pragma once

#include "toolbar/BarItem.h"

#include "classlib/Form.h"
#include "support/BarDriver.h"
#include "support/FormFixture.h"

namespace bar_testing {

// An item with traits of a test's choosing; a separator when asked.
class TTraitItem : public TBarCustomItem
{
public:
    TTraitItem(const AnsiString& caption, TBarItemTraits extra, bool separator = false);
    TBarItemViewerClass ViewerClassForItem(TBarView* View) override;
};

// What a popup window answers of the framework's and the printing
// messages: prints itself, draws the animation's frames and counts the
// animations done. False for any other message.
bool AnswerPopupMessage(TWinControl* window, TMessage& message, int& animationsDone);

// A view with a chevron item at its end, which opens a popup of the items
// the view clipped.
class TChevronView : public TBarView
{
public:
    TChevronView(TComponent* owner, TBarCustomItem* root, TWinControl* window, bool priority);

protected:
    TBarCustomItem* OverflowItemOf() override { return FChevron; }

private:
    TBarCustomItem* FChevron; // owned through the components
};

class TViewHost : public TCustomControl
{
public:
    enum class Kind
    {
        Toolbar,
        Menu,
        ChevronToolbar,
        ChevronToolbarWithPriority
    };
    // A child of form at (10, 10), 600 x 300, its view on a fresh root item.
    TViewHost(TCustomForm* form, Kind kind);
    ~TViewHost() override;

    TBarRootItem* Root() const { return FRoot; }
    // The view's accessibility requests are answered (else the default).
    void SetAnswersAccessibility(bool value) { FAnswersAccessibility = value; }
    TBarView* View() const { return FView; }
    int AnimationsDone() const { return FAnimationsDone; }

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;

private:
    TBarRootItem* FRoot; // owned
    TBarView* FView;     // owned
    int FAnimationsDone = 0;
    bool FAnswersAccessibility = true;
};

// The height and caption width of texts in the shared menu font, as the
// views measure them.
struct TMenuFontMetrics
{
    TMenuFontMetrics();
    ~TMenuFontMetrics();
    TMenuFontMetrics(const TMenuFontMetrics&) = delete;
    TMenuFontMetrics& operator=(const TMenuFontMetrics&) = delete;
    int TextHeight() const;
    int ExternalLeading() const;
    int Width(const AnsiString& text) const;

private:
    HDC FDC; // owned
    HGDIOBJ FOld;
};

using testing_support::ScreenCentre;
using testing_support::StandalonePopupView;
using testing_support::ThreadPopupWindows;

// An item with a caption (and, when given, a parent).
TBarCustomItem* AddItem(TBarCustomItem* parent, const AnsiString& caption);
TBarSeparatorItem* AddSeparator(TBarCustomItem* parent);

// A test with a form that holds one view host at a time.
class ViewHostTest : public testing_support::FormFixture
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Replaces the host with a fresh one.
    TBarView* Host(TViewHost::Kind kind);
    // Where an item's viewer lies and whether it shows, after a layout.
    TRect At(TBarCustomItem* item);
    bool Shown(TBarCustomItem* item);

    TViewHost* host = nullptr; // owned
};

// A view host test after which no popup window and no mouse capture may be
// left.
class PopupTest : public ViewHostTest
{
protected:
    void TearDown() override;
};

} // namespace bar_testing
