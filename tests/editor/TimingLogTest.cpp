// The benchmarks' timing log: lines in the order of the events, on one clock
// that moves forward, and nothing at all without the variable; a step's span
// marks its begin and its end around what it holds.
#include "editor/TimingLog.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>
#include <windows.h>

using namespace testing_support;

namespace {

class TimingLogTest : public testing::Test
{
protected:
    void SetUp() override { SetEnvironmentVariableA("ZANDREL_TIMING_LOG", nullptr); }
    void TearDown() override
    {
        SetEnvironmentVariableA("ZANDREL_TIMING_LOG", nullptr);
        LogTiming("after"); // lets the file go, so that its folder can go
    }
    TempFolder folder;
};

TEST_F(TimingLogTest, AppendsEachEventWithTheTimeOnlyWhenAsked)
{
    LogTiming("unasked");
    EXPECT_FALSE(TimingLogRequested());

    SetEnvironmentVariableA("ZANDREL_TIMING_LOG", folder.File("timing.log").c_str());
    EXPECT_TRUE(TimingLogRequested());
    LogTiming("first");
    LogTiming("second");
    std::istringstream log(folder.ReadFile("timing.log"));
    std::string first, second, rest;
    double firstMs = 0, secondMs = 0;
    ASSERT_TRUE(log >> first >> firstMs >> second >> secondMs);
    EXPECT_FALSE(log >> rest);
    EXPECT_EQ(first, "first");
    EXPECT_EQ(second, "second");
    EXPECT_GT(firstMs, 0);
    EXPECT_GE(secondMs, firstMs);
}

TEST_F(TimingLogTest, ASpanMarksTheBeginAndTheEndOfItsStepAroundWhatItHolds)
{
    {
        TTimingSpan unasked("unasked");
    }
    EXPECT_TRUE(FileNamesIn(folder.Path()).empty());

    SetEnvironmentVariableA("ZANDREL_TIMING_LOG", folder.File("timing.log").c_str());
    {
        TTimingSpan outer("settings");
        TTimingSpan inner("sounddevices");
        LogTiming("between");
    }
    std::istringstream log(folder.ReadFile("timing.log"));
    std::vector<std::string> events;
    std::vector<double> times;
    std::string event;
    double ms = 0;
    while (log >> event >> ms) {
        events.push_back(event);
        times.push_back(ms);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"settings.begin", "sounddevices.begin", "between",
                                                "sounddevices.end", "settings.end"}));
    EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
}

// The file stays open between lines, yet each line is there for a reader at
// once, and another file named later gets the lines from then on.
TEST_F(TimingLogTest, EachLineIsThereAtOnceAndAFileNamedLaterGetsTheRest)
{
    SetEnvironmentVariableA("ZANDREL_TIMING_LOG", folder.File("one.log").c_str());
    LogTiming("first");
    EXPECT_EQ(folder.ReadFile("one.log").substr(0, 6), "first ");
    SetEnvironmentVariableA("ZANDREL_TIMING_LOG", folder.File("two.log").c_str());
    LogTiming("second");
    EXPECT_EQ(folder.ReadFile("two.log").substr(0, 7), "second ");
    EXPECT_EQ(folder.ReadFile("one.log").find("second"), std::string::npos);
    // The first file was let go: it can be replaced.
    EXPECT_TRUE(DeleteFileA(folder.File("one.log").c_str()));
}

} // namespace
