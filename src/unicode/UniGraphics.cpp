#include "UniGraphics.h"

SIZE CanvasWideExtent(TCanvas* Canvas, const WideString& Text)
{
    SIZE size = {0, 0};
    if (Text.empty())
        return size;
    GetTextExtentPoint32W(Canvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), &size);
    return size;
}

int CanvasWideWidth(TCanvas* Canvas, const WideString& Text)
{
    return CanvasWideExtent(Canvas, Text).cx;
}

int CanvasWideHeight(TCanvas* Canvas, const WideString& Text)
{
    return CanvasWideExtent(Canvas, Text).cy;
}
