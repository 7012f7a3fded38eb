// The waveform, its ruler and the overview. So far only the empty images.
#include "ostrel.h"

#include "classlib/Graphics.h"

namespace {

constexpr TColor kEmptyImageColor = 0xC0C0C0;
constexpr int kOverviewHeight = 44;
constexpr int kScrollBarHeight = 17;

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
    int width = WavePanel->Width() - 3;
    int height = WavePanel->Height() - kOverviewHeight - 1 - kScrollBarHeight;
    OverViewImage->SetBounds(2, 0, WavePanel->Width() - 4, kOverviewHeight);
    WaveImage->SetBounds(0, kOverviewHeight + 1, width, height);
    FillImage(OverViewImage, OverViewImage->Width(), kOverviewHeight - 1);
    FillImage(WaveImage, width, height);
    ScrollBar1->SetBounds(0, WavePanel->Height() - 21, width, kScrollBarHeight);
    ScrollBar1->SetEnabled(false);
}

// Drawing the wave comes with the views.
void TFormVusk::RedrawWaveFromViewStart() {}
