// The caption painting that the extended controls share: glowing wide
// text, a caption laid out in a rectangle, and the choice between classic
// and visual-style painting.
#pragma once

#include "classlib/Control.h"
#include "classlib/Graphics.h"
#include "classlib/StringTypes.h"

enum class TExtThemeType
{
    thtNone = 0,    // classic drawing
    thtWindows = 1, // the system's visual styles
    thtSkin = 2     // the current toolbar theme
};

enum class TSpGlowDirection
{
    gldNone = 0,
    gldAll = 1,
    gldTopLeft = 2,
    gldBottomRight = 3
};

// The theme layer paints with visual styles and the edits' classic
// override is off.
bool ExtVisualStylesOn();
// The painting a control of that type does now: the toolbar theme "Default"
// paints as the visual styles do, and those fall back to classic when off.
TExtThemeType ExtResolveThemeKind(TExtThemeType type);

// Draws (or, with DT_CALCRECT, measures into rect) a wide caption in the
// canvas font, first in glowColor at the offsets of the glow direction.
// The text height; 0 when rect comes out empty.
int ExtPaintCaptionGlow(TCanvas* canvas, const WideString& caption, TRect& rect, UINT format,
                        TSpGlowDirection glow, TColor glowColor);
// Draws a caption centred vertically in rect and placed by alignment;
// the rectangle of the text (empty when the caption has no height).
TRect ExtDrawCaption(TCanvas* canvas, const TRect& rect, const WideString& caption,
                     TAlignment alignment, UINT format, TSpGlowDirection glow, TColor glowColor);
