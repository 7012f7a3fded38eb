// The "cannot happen" check: a kept assumption passes silently; a broken one
// answers false (the caller's safe path) and is reported with its place.
#include "classlib/Checks.h"
#include "classlib/Seams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Report
{
    std::string Assumption;
    std::string File;
    int Line;
};

class ChecksTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Seams().CannotHappen = [this](const char* assumption, const char* file, int line) {
            reports.push_back({assumption, file, line});
        };
    }
    std::vector<Report> reports;
};

TEST_F(ChecksTest, AKeptAssumptionPassesWithoutAReport)
{
    EXPECT_TRUE(Verified(1 + 1 == 2, "arithmetic"));
    EXPECT_TRUE(reports.empty());
}

TEST_F(ChecksTest, ABrokenAssumptionTakesTheSafePathAndNamesTheCaller)
{
    const int line = __LINE__ + 1;
    const bool held = Verified(false, "an index within the list");
    EXPECT_FALSE(held);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].Assumption, "an index within the list");
    EXPECT_NE(reports[0].File.find("ChecksTest.cpp"), std::string::npos);
    EXPECT_EQ(reports[0].Line, line);
}

} // namespace
