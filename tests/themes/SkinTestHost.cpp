#include "SkinTestHost.h"

#include "classlib/Graphics.h"
#include "toolbar/BarCommon.h"

namespace theme_testing {

TestSubmenuItem::TestSubmenuItem(const AnsiString& caption, bool split) : TSkinCustomItem(nullptr)
{
    SetCaption(caption);
    SetItemTraits(ItemTraits() | OpensPopup | (split ? DualPart : 0));
}

ThemedViewHost::ThemedViewHost(TCustomForm* form, bool toolbar, DWORD viewKind)
    : TCustomControl(form), FRoot(new TBarRootItem(nullptr)), FViewKind(viewKind)
{
    SetParent(form);
    SetBounds(10, 10, 600, 300);
    FView = new TBarView(this, nullptr, FRoot, this, toolbar, false, false);
}

ThemedViewHost::~ThemedViewHost()
{
    delete FView;
    delete FRoot;
}

void ThemedViewHost::WndProc(TMessage& message)
{
    if (message.Msg == WM_SKIN_VIEWTYPE) {
        message.Result = static_cast<LRESULT>(FViewKind);
        return;
    }
    TCustomControl::WndProc(message);
}

void ThemedViewHost::Paint()
{
    FView->DrawItems(Canvas());
}

TSkinCustomItem* AddSkinItem(TBarCustomItem* parent, const AnsiString& caption)
{
    auto* item = new TSkinCustomItem(nullptr);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

SIZE Measure(TBarItemViewer* viewer)
{
    TBitmap sheet;
    sheet.SetSize(1, 1);
    TCanvas* canvas = sheet.Canvas();
    canvas->Font()->Assign(viewer->View()->GetFont());
    int width = 0, height = 0;
    viewer->CalcSize(canvas, width, height);
    return SIZE{width, height};
}

SIZE TextSize(TBarView* view, const AnsiString& text)
{
    TBitmap sheet;
    sheet.SetSize(1, 1);
    TCanvas* canvas = sheet.Canvas();
    canvas->Font()->Assign(view->GetFont());
    HDC dc = canvas->Handle();
    return SIZE{CaptionPixelWidth(dc, text, true), FontLineHeight(dc)};
}

} // namespace theme_testing
