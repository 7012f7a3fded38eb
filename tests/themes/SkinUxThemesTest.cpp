// The visual-style binding: one load however often it is asked, every entry
// point bound on this system, an answer that follows the system's, and a
// missing library or entry point that leaves nothing to call.
#include "themes/SkinThemes.h"
#include "themes/SkinUxThemes.h"

#include "support/LibraryLoaders.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

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
        ResetCountedLibraryLoads();
    }
    void TearDown() override
    {
        FreeVisualStyleLib();
        SetVisualStyleLibLoader(nullptr);
        // The theme manager binds the library again for the painters.
        SkinThemeManager()->Refresh();
    }
};

} // namespace

TEST_F(VisualStyleBindingTest, BindsEveryEntryPointOnceAndAnswersAsTheSystem)
{
    SetVisualStyleLibLoader(CountingLibraryLoader);
    EXPECT_FALSE(VisualStyleInUse());
    ASSERT_TRUE(LoadVisualStyleLib());
    EXPECT_TRUE(LoadVisualStyleLib());
    EXPECT_EQ(CountedLibraryLoads(), 1);
    EXPECT_EQ(BoundCount(), 46);
    EXPECT_EQ(VisualStyleInUse(), IsAppThemed() && IsThemeActive());
}

TEST_F(VisualStyleBindingTest, FreeingClearsEveryPointerAndBindingAgainLoadsAgain)
{
    SetVisualStyleLibLoader(CountingLibraryLoader);
    ASSERT_TRUE(LoadVisualStyleLib());
    FreeVisualStyleLib();
    EXPECT_EQ(BoundCount(), 0);
    EXPECT_FALSE(VisualStyleInUse());
    FreeVisualStyleLib();
    ASSERT_TRUE(LoadVisualStyleLib());
    EXPECT_EQ(CountedLibraryLoads(), 2);
    EXPECT_EQ(BoundCount(), 46);
}

TEST_F(VisualStyleBindingTest, AMissingLibraryOrEntryPointMeansNoVisualStyle)
{
    SetVisualStyleLibLoader(MissingLibraryLoader);
    EXPECT_FALSE(LoadVisualStyleLib());
    EXPECT_EQ(BoundCount(), 0);
    EXPECT_FALSE(VisualStyleInUse());

    SetVisualStyleLibLoader(UnrelatedLibraryLoader);
    EXPECT_TRUE(LoadVisualStyleLib());
    EXPECT_EQ(BoundCount(), 0);
    EXPECT_FALSE(VisualStyleInUse()); // and nothing unbound was called
}
