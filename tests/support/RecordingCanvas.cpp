#include "support/RecordingCanvas.h"

namespace testing_support {

void TRecordingCanvas::Record(int x, int y, const AnsiString& text, const TRect& clip, bool clipped)
{
    TRecordedText entry;
    entry.X = x;
    entry.Y = y;
    entry.Text = text;
    entry.Clip = clip;
    entry.Clipped = clipped;
    entry.FontSize = Font()->Size();
    entry.FontColor = Font()->Color();
    FTexts.push_back(entry);
}

void TRecordingCanvas::TextOut(int x, int y, const AnsiString& text)
{
    Record(x, y, text, TRect(), false);
    TCanvas::TextOut(x, y, text);
}

void TRecordingCanvas::TextRect(const TRect& r, int x, int y, const AnsiString& text)
{
    Record(x, y, text, r, true);
    TCanvas::TextRect(r, x, y, text);
}

void TRecordingCanvas::CreateHandle()
{
    if (!FSurface) {
        FSurface = std::make_unique<TBitmap>();
        FSurface->SetPixelFormat(TPixelFormat::pf32bit);
        FSurface->SetSize(256, 64);
    }
    SetHandle(FSurface->Canvas()->Handle());
}

} // namespace testing_support
