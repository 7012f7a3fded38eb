// The scoped device contexts, selections and objects: each gives back what
// it holds however its scope is left, an exception included; and text
// measured on the screen.
#include "classlib/Graphics.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

// Runs body, which throws at its end, and swallows the exception.
void LeftByException(const std::function<void()>& body)
{
    try {
        body();
        throw std::runtime_error("leaving");
    } catch (const std::runtime_error&) {
    }
}

class GraphicsScopesTest : public testing::Test
{
protected:
    TMemoryDC dc{nullptr};
};

TEST_F(GraphicsScopesTest, ASelectionGivesTheDCItsObjectBack)
{
    const HGDIOBJ own = GetCurrentObject(dc.Handle(), OBJ_FONT);
    TOwnedGdiObject font(
        CreateFontA(20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
    LeftByException([&] {
        TSelectedObject selected(dc.Handle(), font.Handle());
        EXPECT_EQ(GetCurrentObject(dc.Handle(), OBJ_FONT), font.Handle());
    });
    EXPECT_EQ(GetCurrentObject(dc.Handle(), OBJ_FONT), own);
}

TEST_F(GraphicsScopesTest, OwnedObjectsAndMemoryDCsAreGoneAfterTheirScope)
{
    HGDIOBJ brush = nullptr;
    HDC memory = nullptr;
    LeftByException([&] {
        TOwnedGdiObject owned(CreateSolidBrush(RGB(1, 2, 3)));
        TMemoryDC scoped(dc.Handle());
        brush = owned.Handle();
        memory = scoped.Handle();
        EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
        EXPECT_EQ(GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
    });
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(memory), 0u);
}

TEST_F(GraphicsScopesTest, ASavedStateComesBackWhateverWasChanged)
{
    LeftByException([&] {
        TSavedDCState state(dc.Handle());
        SetViewportOrgEx(dc.Handle(), 30, 40, nullptr);
        SetBkMode(dc.Handle(), TRANSPARENT);
    });
    POINT origin = {-1, -1};
    GetViewportOrgEx(dc.Handle(), &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    EXPECT_EQ(GetBkMode(dc.Handle()), OPAQUE);
}

TEST(ScreenTextMeasureTest, WideTextBreaksIntoLinesWithinTheWidth)
{
    TFont font;
    const TScreenTextMeasure measure(font);
    const UINT format = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
    const TRect word = measure.TextRect("word", format);
    const TRect one = measure.TextRect("word word word", format, 1000);
    const TRect narrow = measure.TextRect("word word word", format, word.Width() + 2);
    EXPECT_GT(one.Width(), 2 * word.Width());
    EXPECT_EQ(one.Height(), word.Height());
    EXPECT_EQ(narrow.Height(), 3 * word.Height());
    EXPECT_EQ(measure.Metrics().tmHeight, word.Height());
    font.SetSize(font.Size() * 2);
    EXPECT_GT(TScreenTextMeasure(font).TextRect("word", format).Width(), word.Width());
}

} // namespace
