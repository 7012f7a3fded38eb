// Wide text measured on a canvas (its font selected).
#pragma once

#include "classlib/Graphics.h"

// 0 x 0 for empty text.
SIZE CanvasWideExtent(TCanvas* Canvas, const WideString& Text);
int CanvasWideWidth(TCanvas* Canvas, const WideString& Text);
int CanvasWideHeight(TCanvas* Canvas, const WideString& Text);
