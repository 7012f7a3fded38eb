// Hints painted as bitmaps through a draw-hint event: the bitmap, the hint
// window that shows it, and the extended items' hints on their toolbar.
#include "controls/ExtItem.h"

#include "classlib/ControlMessages.h"
#include "classlib/WideText.h"
#include "unicode/UniForms.h"

namespace {

constexpr int kHintPaddingX = 4;
constexpr int kHintPaddingY = 2;

// Shows the hint bitmap of the control under the mouse.
class TExtHintBitmapWindow : public THintWindow
{
public:
    using THintWindow::THintWindow;

    TRect CalcHintRect(int maxWidth, const AnsiString& hint) override
    {
        TBitmap* bitmap = ShownBitmap();
        if (!bitmap)
            return THintWindow::CalcHintRect(maxWidth, hint);
        int border = 2 * GetSystemMetrics(SM_CXBORDER);
        return TRect(0, 0, bitmap->Width() + border, bitmap->Height() + border);
    }

protected:
    void Paint() override
    {
        TBitmap* bitmap = ShownBitmap();
        if (!bitmap) {
            THintWindow::Paint();
            return;
        }
        BitBlt(Canvas()->Handle(), 0, 0, bitmap->Width(), bitmap->Height(),
               bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
    }

private:
    static TBitmap* ShownBitmap()
    {
        auto* source = dynamic_cast<TExtHintBitmapSource*>(MouseControl());
        return source ? source->HintBitmap() : nullptr;
    }
};

} // namespace

std::unique_ptr<TBitmap>
ExtMakeHintBitmap(WideString hint,
                  const std::function<void(TBitmap*, WideString&, bool&)>& paintStage)
{
    TFont font;
    font.SetColor(clInfoText);
    auto bitmap = std::make_unique<TBitmap>();
    TCanvas* canvas = bitmap->Canvas();
    canvas->Font()->Assign(&font);
    RECT text = {0, 0, 0, 0};
    DrawTextW(canvas->Handle(), hint.c_str(), -1, &text, DT_CALCRECT | DT_NOPREFIX);
    bitmap->SetSize(text.right + 2 * kHintPaddingX, text.bottom + 2 * kHintPaddingY);
    canvas->Brush()->SetColor(clInfoBk);
    canvas->FillRect(TRect(0, 0, bitmap->Width(), bitmap->Height()));
    bool paintDefault = true;
    paintStage(bitmap.get(), hint, paintDefault);
    if (paintDefault) {
        canvas->Font()->Assign(&font);
        canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        RECT r = {kHintPaddingX, kHintPaddingY, bitmap->Width() - kHintPaddingX,
                  bitmap->Height() - kHintPaddingY};
        DrawTextW(canvas->Handle(), hint.c_str(), -1, &r, DT_NOPREFIX);
    }
    return bitmap;
}

THintWindow* ExtCreateHintBitmapWindow(TControl* owner)
{
    return new TExtHintBitmapWindow(owner);
}

void TExtCustomItem::PaintHintStage(TBitmap* AHintBitmap, WideString& AHint, bool& PaintDefault)
{
    if (OnDrawHint)
        OnDrawHint(this, AHintBitmap, AHint, PaintDefault);
}

void TExtToolbar::PrepareItemHint(THintInfo& info)
{
    // A hint window kept from an earlier hint must not show its bitmap again.
    FHintBitmap.reset();
    TBarItemViewer* viewer = View()->ViewerAtPixel(info.CursorPos);
    auto* item = viewer ? dynamic_cast<TExtCustomItem*>(viewer->Item()) : nullptr;
    if (!item)
        return;
    // The wide hint, else the one the viewer makes of the caption.
    WideString hint = WideShortHint(item->Hint());
    if (hint.empty())
        hint = AnsiToWide(info.HintStr);
    // Without a handler the ordinary hint window serves, unless the hint has
    // characters the code page lacks: then the bitmap shows them.
    if (!item->OnDrawHint && AnsiToWide(WideToAnsi(hint)) == hint)
        return;
    FHintBitmap = ExtMakeHintBitmap(hint, [item](TBitmap* bitmap, WideString& text, bool& paint) {
        item->PaintHintStage(bitmap, text, paint);
    });
    info.HintWindowClass = ExtCreateHintBitmapWindow;
}
