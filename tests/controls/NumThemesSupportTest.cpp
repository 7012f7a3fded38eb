// The edits' own visual-style binding: bound once, answering as the system
// does, independent of the theme layer's binding, and quiet ("not themed")
// when the library or an entry point is missing or classic drawing is forced.
#include "controls/NumThemesSupport.h"

#include "themes/SkinUxThemes.h"

#include "support/LibraryLoaders.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class NumThemesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        UnbindNumThemes();
        ResetCountedLibraryLoads();
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateBitmap(16, 16, 1, 32, nullptr);
        old = SelectObject(dc, bitmap);
    }
    void TearDown() override
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        SetVisualStyleLibLoader(nullptr);
        UnbindNumThemes();
        FreeVisualStyleLib();
    }
    bool DrawSpin() { return DrawNumThemePart(nullptr, dc, L"spin", 1, 1, RECT{0, 0, 16, 16}); }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
};

} // namespace

TEST_F(NumThemesTest, BindsOnceAndAnswersAsTheSystem)
{
    SetVisualStyleLibLoader(CountingLibraryLoader);
    bool themed = IsAppThemed() && IsThemeActive();
    EXPECT_EQ(NumThemesInUse(), themed);
    EXPECT_EQ(NumThemesInUse(), themed);
    EXPECT_EQ(CountedLibraryLoads(), 1);
    EXPECT_EQ(DrawSpin(), themed);
    EXPECT_FALSE(DrawNumThemePart(nullptr, dc, L"NoSuchClass", 1, 1, RECT{0, 0, 16, 16}));
}

TEST_F(NumThemesTest, TheThemeLayerFreeingItsBindingLeavesThisOneWorking)
{
    ASSERT_TRUE(LoadVisualStyleLib());
    bool themed = NumThemesInUse();
    FreeVisualStyleLib();
    ASSERT_TRUE(LoadVisualStyleLib());
    FreeVisualStyleLib();
    EXPECT_EQ(NumThemesInUse(), themed);
    EXPECT_EQ(DrawSpin(), themed);
}

TEST_F(NumThemesTest, NothingIsThemedWithoutLibraryEntryPointsOrWhenClassicIsForced)
{
    SetVisualStyleLibLoader(MissingLibraryLoader);
    EXPECT_FALSE(NumThemesInUse());
    EXPECT_FALSE(DrawSpin());

    UnbindNumThemes();
    SetVisualStyleLibLoader(UnrelatedLibraryLoader);
    EXPECT_FALSE(NumThemesInUse());
    EXPECT_FALSE(DrawSpin());

    UnbindNumThemes();
    SetVisualStyleLibLoader(nullptr);
    bool previous = SetClassicDrawingForced(true);
    EXPECT_FALSE(NumThemesInUse());
    EXPECT_FALSE(DrawSpin());
    EXPECT_TRUE(SetClassicDrawingForced(previous));
}
