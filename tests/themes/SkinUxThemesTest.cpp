// The visual-style binding: one load however often it is asked, every entry
// point bound on this system, an answer that follows the system's, and a
// missing library or entry point that leaves nothing to call.
#include "themes/SkinUxThemes.h"

#include <gtest/gtest.h>

namespace {

int gLoads = 0;

HMODULE CountingLoader(const char* name)
{
    ++gLoads;
    return LoadLibraryA(name);
}

HMODULE MissingLibrary(const char*)
{
    return nullptr;
}

// A library that exists but has none of the entry points.
HMODULE UnrelatedLibrary(const char*)
{
    return LoadLibraryA("kernel32.dll");
}

int BoundCount()
{
    const TVisualStyleEntryPoints& ux = VisualStyleEntryPoints();
    int bound = 0;
#define ZANDREL_COUNT_BOUND(name) bound += ux.name != nullptr;
    ZANDREL_VISUAL_STYLE_ENTRY_POINTS(ZANDREL_COUNT_BOUND)
#undef ZANDREL_COUNT_BOUND
    return bound;
}

class VisualStyleBindingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        FreeVisualStyleLib();
        gLoads = 0;
    }
    void TearDown() override
    {
        FreeVisualStyleLib();
        SetVisualStyleLibLoader(nullptr);
    }
};

} // namespace

TEST_F(VisualStyleBindingTest, BindsEveryEntryPointOnceAndAnswersAsTheSystem)
{
    SetVisualStyleLibLoader(CountingLoader);
    EXPECT_FALSE(VisualStyleInUse());
    ASSERT_TRUE(LoadVisualStyleLib());
    EXPECT_TRUE(LoadVisualStyleLib());
    EXPECT_EQ(gLoads, 1);
    EXPECT_EQ(BoundCount(), 46);
    EXPECT_EQ(VisualStyleInUse(), IsAppThemed() && IsThemeActive());
}

TEST_F(VisualStyleBindingTest, FreeingClearsEveryPointerAndBindingAgainLoadsAgain)
{
    SetVisualStyleLibLoader(CountingLoader);
    ASSERT_TRUE(LoadVisualStyleLib());
    FreeVisualStyleLib();
    EXPECT_EQ(BoundCount(), 0);
    EXPECT_FALSE(VisualStyleInUse());
    FreeVisualStyleLib();
    ASSERT_TRUE(LoadVisualStyleLib());
    EXPECT_EQ(gLoads, 2);
    EXPECT_EQ(BoundCount(), 46);
}

TEST_F(VisualStyleBindingTest, AMissingLibraryOrEntryPointMeansNoVisualStyle)
{
    SetVisualStyleLibLoader(MissingLibrary);
    EXPECT_FALSE(LoadVisualStyleLib());
    EXPECT_EQ(BoundCount(), 0);
    EXPECT_FALSE(VisualStyleInUse());

    SetVisualStyleLibLoader(UnrelatedLibrary);
    EXPECT_TRUE(LoadVisualStyleLib());
    EXPECT_EQ(BoundCount(), 0);
    EXPECT_FALSE(VisualStyleInUse()); // and nothing unbound was called
}
