// The waveform, its ruler and the overview. So far only the empty images.
#include "ostrel.h"

#include "ViewGeometry.h"

#include "classlib/Graphics.h"

#include <algorithm>

namespace {

constexpr TColor kEmptyImageColor = 0xC0C0C0;

void FillImage(TImage* image, int width, int height)
{
    image->Bitmap()->SetSize(std::max(width, 1), std::max(height, 1));
    image->Canvas()->Brush()->SetColor(kEmptyImageColor);
    image->Canvas()->FillRect(Rect(0, 0, image->Bitmap()->Width(), image->Bitmap()->Height()));
}

} // namespace

// The images grey and sized to the panel while no file is open.
void TFormVusk::ResizeWaveImages()
{
    TWaveLayout layout = WaveLayoutFor(WavePanel->Width(), WavePanel->Height());
    OverViewImage->SetBounds(2, 0, layout.OverviewWidth, layout.OverviewHeight);
    WaveImage->SetBounds(0, layout.OverviewHeight + 1, layout.WaveWidth, layout.WaveHeight);
    FillImage(OverViewImage, layout.OverviewWidth, layout.OverviewBitmapHeight);
    FillImage(WaveImage, layout.WaveWidth, layout.WaveHeight);
    ScrollBar1->SetBounds(0, layout.ScrollTop, layout.ScrollWidth, layout.ScrollHeight);
    ScrollBar1->SetEnabled(false);
}

// Drawing the wave comes with the views.
void TFormVusk::RedrawWaveFromViewStart() {}
