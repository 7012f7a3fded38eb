#include "BarTestHost.h"

#include "toolbar/BarAcc.h"
#include "toolbar/BarAnim.h"
#include "toolbar/BarCommon.h"

#include "classlib/WindowProcedure.h"

namespace bar_testing {

TTraitItem::TTraitItem(const AnsiString& caption, TBarItemTraits extra, bool separator)
    : TBarCustomItem(nullptr)
{
    SetCaption(caption);
    SetItemTraits((separator ? ActsAsDivider | IgnoresMouseUp : ItemTraits()) | extra);
}

TBarItemViewerClass TTraitItem::ViewerClassForItem(TBarView* View)
{
    return HasTrait(ActsAsDivider) ? NewBarViewer<TBarSeparatorItemViewer>
                                   : TBarCustomItem::ViewerClassForItem(View);
}

bool AnswerPopupMessage(TWinControl* window, TMessage& message, int& animationsDone)
{
    switch (message.Msg) {
    case WM_PRINT:
        PaintWindowTree(window->WindowHandle(), reinterpret_cast<HDC>(message.WParam),
                        message.LParam, nullptr, nullptr);
        return true;
    case WM_PRINTCLIENT:
        window->Perform(WM_PAINT, message.WParam, 0);
        return true;
    case WM_BAR_ANIMFRAME:
        BarPopupRevealFrame(window->WindowHandle(), message.LParam);
        return true;
    case WM_BAR_ANIMDONE:
        ++animationsDone;
        return true;
    default:
        return false;
    }
}

namespace {

// Opens a popup of the items its bar clipped.
class TChevronItem : public TBarCustomItem
{
public:
    TChevronItem(TComponent* owner, TBarView* bar) : TBarCustomItem(owner), FBar(bar)
    {
        SetItemTraits(ItemTraits() | OpensPopup | NoOpenOnKeySelect);
    }
    TBarView* OverflowOwnerView() override { return FBar; }

private:
    TBarView* FBar; // not owned
};

} // namespace

TChevronView::TChevronView(TComponent* owner, TBarCustomItem* root, TWinControl* window,
                           bool priority)
    : TBarView(owner, nullptr, root, window, true, false, priority),
      FChevron(new TChevronItem(this, this))
{
    FChevron->SetCaption(">>");
    SetChevronSize(12);
    // The base constructor built the list before this class could name its
    // chevron.
    RebuildAllViewers();
}

TViewHost::TViewHost(TCustomForm* form, Kind kind)
    : TCustomControl(form), FRoot(new TBarRootItem(nullptr))
{
    SetParent(form);
    SetBounds(10, 10, 600, 300);
    switch (kind) {
    case Kind::Toolbar:
        FView = new TBarView(nullptr, nullptr, FRoot, this, true, false, false);
        break;
    case Kind::Menu:
        FView = new TBarView(nullptr, nullptr, FRoot, this, false, false, false);
        break;
    case Kind::ChevronToolbar:
    case Kind::ChevronToolbarWithPriority:
        FView = new TChevronView(nullptr, FRoot, this, kind == Kind::ChevronToolbarWithPriority);
        break;
    }
}

TViewHost::~TViewHost()
{
    delete FView;
    delete FRoot;
}

void TViewHost::Paint()
{
    FView->DrawItems(Canvas());
}

void TViewHost::WndProc(TMessage& message)
{
    if (message.Msg == WM_GETOBJECT && FAnswersAccessibility &&
        AnswerBarAccessibleObject(FView, message))
        return;
    if (!AnswerPopupMessage(this, message, FAnimationsDone))
        TCustomControl::WndProc(message);
}

TMenuFontMetrics::TMenuFontMetrics()
    : FDC(CreateCompatibleDC(nullptr)), FOld(SelectObject(FDC, BarMenuFont()->Handle()))
{
}

TMenuFontMetrics::~TMenuFontMetrics()
{
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
}

int TMenuFontMetrics::TextHeight() const
{
    return FontLineHeight(FDC);
}

int TMenuFontMetrics::ExternalLeading() const
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(FDC, &metrics);
    return metrics.tmExternalLeading;
}

int TMenuFontMetrics::Width(const AnsiString& text) const
{
    return CaptionPixelWidth(FDC, text, true);
}

TBarCustomItem* AddItem(TBarCustomItem* parent, const AnsiString& caption)
{
    auto* item = new TBarCustomItem(nullptr);
    item->SetCaption(caption);
    if (parent)
        parent->Add(item);
    return item;
}

TBarSeparatorItem* AddSeparator(TBarCustomItem* parent)
{
    auto* separator = new TBarSeparatorItem(nullptr);
    parent->Add(separator);
    return separator;
}

void ViewHostTest::SetUp()
{
    FormFixture::SetUp();
    form->SetBounds(100, 100, 800, 500);
}

void ViewHostTest::TearDown()
{
    delete host;
    FormFixture::TearDown();
}

TBarView* ViewHostTest::Host(TViewHost::Kind kind)
{
    delete host;
    host = new TViewHost(form, kind);
    return host->View();
}

TRect ViewHostTest::At(TBarCustomItem* item)
{
    host->View()->EnsureLayout();
    return host->View()->Find(item)->BoundsRect();
}

bool ViewHostTest::Shown(TBarCustomItem* item)
{
    host->View()->EnsureLayout();
    return host->View()->Find(item)->Shown();
}

void PopupTest::TearDown()
{
    EXPECT_TRUE(ThreadPopupWindows().empty()) << "a popup window outlived its menu";
    EXPECT_EQ(GetCapture(), nullptr) << "the mouse capture outlived the menu";
    ViewHostTest::TearDown();
}

} // namespace bar_testing
