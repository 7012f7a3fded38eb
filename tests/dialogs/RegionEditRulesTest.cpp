// The edit windows' texts: time and sample texts read (typed or pasted,
// well formed or not), and the edits kept in step after each change.
#include "dialogs/RegionEditRules.h"

#include <gtest/gtest.h>

namespace {

// 44100 Hz stereo: one sample a frame of four bytes.
const TRegionEditFacts kCd{176400, 4, 44100 * 600};
// 8000 Hz mono, ten seconds.
const TRegionEditFacts kTenSeconds{16000, 2, 80000};

using F = TRegionEditField;

} // namespace

TEST(RegionEditRules, TimeTexts)
{
    struct Case
    {
        const char* text;
        std::int64_t samples;
    };
    const Case cases[] = {
        {"", 0},
        {"   ", 0},
        {"1:30.5", 3991050}, // 90.5 s
        {":45", 1984500},
        {".5", 22050},
        {"1:30.05", 3971205},
        {" 0:01 ", 44100},
        {"1:", 44100},
        {"1.", 44100},
        {"59", 2601900},
        {"99:59.99", 264599559},
        {"0.99999999999", 44100}, // digits below a sample's length count for nothing
        {"0.25000000000001", 11025},
        // Malformed.
        {"12345", -1}, // five digits without separators
        {"1234", -1},  // seconds above 59
        {"100:00", -1},
        {"1:60", -1},
        {"1:2:3", -1},
        {"1..5", -1},
        {"1.5:3", -1}, // the dot before the colon
        {"1:.5", -1},  // nothing between them
        {":", -1},
        {"-5", -1},
        {"1a", -1},
        {"1:3O", -1},
        {"0.1234567890x", -1}, // a wrong character after the counted digits
        {"1 :30", -1},
        {"---", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TimeStrToSample(c.text, kCd), c.samples) << c.text;
}

TEST(RegionEditRules, TimeTextsRoundHalvesToEven)
{
    const TRegionEditFacts twoPerSecond{4, 2, 100};
    EXPECT_EQ(TimeStrToSample("0.25", twoPerSecond), 0);
    EXPECT_EQ(TimeStrToSample("0.75", twoPerSecond), 2);
    EXPECT_EQ(TimeStrToSample("1", TRegionEditFacts{4, 0, 100}), -1);
}

TEST(RegionEditRules, SampleTexts)
{
    struct Case
    {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"", 0},
        {" 42 ", 42},
        {"1,234,567", 1234567},
        {"1.234", 1234},
        {"2147483648", 2147483647},
        {"99999999999999999999", 2147483647},
        {"---", std::nullopt},
        {"-5", std::nullopt},
        {"+5", std::nullopt},
        {"12a", std::nullopt},
        {",.", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SampleStrToInt(c.text), c.value) << c.text;
    EXPECT_EQ(SampleCountText(0), "0");
    EXPECT_EQ(SampleCountText(1234567), "1,234,567");
}

TEST(RegionEditRules, TheRegionEditsKeptInStep)
{
    // Length 1 s, start 1 s, end 2 s.
    const TRegionEditTexts base = {"0:01.00", "0:01.00", "0:02.00", "8,000", "8,000", "16,000"};
    using Writes = std::vector<std::pair<F, AnsiString>>;
    struct Case
    {
        F changed;
        const char* text;
        bool valid;
        Writes writes;
    };
    const Writes noLengthOrEnd = {
        {F::LengthSamples, "---"}, {F::EndTime, "---"}, {F::EndSamples, "---"}};
    const Case cases[] = {
        {F::LengthTime,
         "0:02",
         true,
         {{F::LengthSamples, "16,000"}, {F::EndTime, "0:03.00"}, {F::EndSamples, "24,000"}}},
        {F::LengthTime, "0", false, noLengthOrEnd}, // a length time of 0
        {F::LengthTime, "0:10", false, noLengthOrEnd},
        {F::LengthTime, "1:60", false, noLengthOrEnd},
        {F::LengthSamples,
         "0",
         true, // a length of 0 samples is taken
         {{F::LengthTime, "0:00.00"}, {F::EndTime, "0:01.00"}, {F::EndSamples, "8,000"}}},
        {F::LengthSamples,
         "72,001",
         false,
         {{F::LengthTime, "---"}, {F::EndTime, "---"}, {F::EndSamples, "---"}}},
        {F::StartTime,
         "0:01.50",
         true,
         {{F::LengthTime, "0:00.50"}, {F::LengthSamples, "4,000"}, {F::StartSamples, "12,000"}}},
        {F::StartTime,
         "0:02",
         false,
         {{F::LengthTime, "---"}, {F::LengthSamples, "---"}, {F::StartSamples, "---"}}},
        {F::StartSamples,
         "-5",
         false,
         {{F::LengthTime, "---"}, {F::LengthSamples, "---"}, {F::StartTime, "---"}}},
        {F::StartSamples,
         "",
         true,
         {{F::LengthTime, "0:02.00"}, {F::LengthSamples, "16,000"}, {F::StartTime, "0:00.00"}}},
        {F::EndSamples,
         "80,000",
         true,
         {{F::LengthTime, "0:09.00"}, {F::LengthSamples, "72,000"}, {F::EndTime, "0:10.00"}}},
        {F::EndSamples,
         "80,001",
         false,
         {{F::LengthTime, "---"}, {F::LengthSamples, "---"}, {F::EndTime, "---"}}},
        {F::EndSamples,
         "8,000",
         false,
         {{F::LengthTime, "---"}, {F::LengthSamples, "---"}, {F::EndTime, "---"}}},
        {F::EndTime,
         "0:09.5",
         true,
         {{F::LengthTime, "0:08.50"}, {F::LengthSamples, "68,000"}, {F::EndSamples, "76,000"}}},
    };
    for (const Case& c : cases) {
        TRegionEditTexts texts = base;
        texts[static_cast<int>(c.changed)] = c.text;
        const TRegionEditSync sync = SyncRegionEdits(c.changed, texts, kTenSeconds);
        EXPECT_EQ(sync.Valid, c.valid) << static_cast<int>(c.changed) << " " << c.text;
        EXPECT_EQ(sync.Writes, c.writes) << static_cast<int>(c.changed) << " " << c.text;
    }
}

TEST(RegionEditRules, AnEditShowingNoValueMakesItsDependentsInvalid)
{
    // A bad start time left "---" in the start samples; a length then
    // cannot be computed, and never raises.
    TRegionEditTexts texts = {"0:01", "x", "---", "8,000", "---", "16,000"};
    EXPECT_FALSE(SyncRegionEdits(F::LengthTime, texts, kTenSeconds).Valid);
    EXPECT_FALSE(SyncRegionEdits(F::LengthSamples, texts, kTenSeconds).Valid);
    texts[static_cast<int>(F::EndSamples)] = "---";
    EXPECT_FALSE(SyncRegionEdits(F::StartTime, texts, kTenSeconds).Valid);
}

TEST(RegionEditRules, SumsNearTheLargestPositionDoNotWrap)
{
    const TRegionEditFacts huge{4, 2, 2147483647};
    const TRegionEditTexts texts = {"", "", "", "1", "2,147,483,647", "2,147,483,647"};
    EXPECT_FALSE(SyncRegionEdits(F::LengthSamples, texts, huge).Valid);
    EXPECT_TRUE(RegionEditRangeValid("2,147,483,647", "2,147,483,647", huge));
    EXPECT_FALSE(RegionEditRangeValid("5", "4", huge));
    EXPECT_FALSE(RegionEditRangeValid("---", "4", huge));
}

TEST(RegionEditRules, TheCutBarEditsKeptInStep)
{
    struct Case
    {
        bool time;
        const char* text;
        bool valid;
        const char* other;
    };
    const Case cases[] = {
        {true, "0:05", true, "40,000"},  {true, "0:10", true, "80,000"},
        {true, "0:10.01", false, "---"}, {true, "", false, "---"},
        {true, "1:60", false, "---"},    {false, "80,000", true, "0:10.00"},
        {false, "0", true, "0:00.00"},   {false, "80,001", false, "---"},
        {false, "---", false, "---"},    {false, " ", false, "---"},
    };
    for (const Case& c : cases) {
        const TCutBarEditSync sync = SyncCutBarEdits(c.time, c.text, kTenSeconds);
        EXPECT_EQ(sync.Valid, c.valid) << c.text;
        EXPECT_EQ(sync.Other, c.other) << c.text;
    }
}
