// A canvas that records the text it draws, so that tests check labels by
// their text and position instead of by glyph pixels. It draws as well: give
// it a bitmap's DC (or any DC) with SetHandle, or let it draw into the
// 32-bit bitmap it makes when none is given.
#pragma once

#include "classlib/Graphics.h"

#include <memory>
#include <vector>

namespace testing_support {

struct TRecordedText
{
    int X = 0;
    int Y = 0;
    AnsiString Text;
    TRect Clip;           // TextRect's rectangle; empty for TextOut
    bool Clipped = false; // drawn by TextRect
    int FontSize = 0;     // points, when drawn
    TColor FontColor = 0; // when drawn
};

class TRecordingCanvas : public TCanvas
{
public:
    ~TRecordingCanvas() override { SetHandle(nullptr); }
    void TextOut(int x, int y, const AnsiString& text) override;
    void TextRect(const TRect& r, int x, int y, const AnsiString& text) override;

    const std::vector<TRecordedText>& Texts() const { return FTexts; }
    void Clear() { FTexts.clear(); }

protected:
    void CreateHandle() override;

private:
    void Record(int x, int y, const AnsiString& text, const TRect& clip, bool clipped);

    std::vector<TRecordedText> FTexts;
    std::unique_ptr<TBitmap> FSurface; // made when no DC was given
};

} // namespace testing_support
