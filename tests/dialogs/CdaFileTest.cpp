#include "dialogs/CdaFile.h"

#include "support/CdaBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using testing_support::CdaBytes;

namespace {

int SecondsOf(const std::vector<std::uint8_t>& bytes)
{
    TMemoryByteSource source(bytes.data(), bytes.size());
    return CdaTrackSeconds(source);
}

std::vector<std::uint8_t> WithFrames(std::uint32_t frames)
{
    return CdaBytes(1, 0, frames);
}

} // namespace

TEST(CdaFile, LengthIsTheFrameCountAtOffset32InWholeSeconds)
{
    struct Case
    {
        std::uint32_t Frames;
        int Seconds;
    };
    const Case cases[] = {
        {75, 1},           {149, 1},
        {150, 2},          {75 * 245 + 74, 245}, // 4:05 and most of a second
        {74, -1},                                // below one second
        {0, -1},           {0x7FFFFFFF, 0x7FFFFFFF / 75},
        {0x80000000u, -1}, // a negative count
        {0xFFFFFFB5u, -1}, // -75
    };
    for (const Case& c : cases)
        EXPECT_EQ(SecondsOf(WithFrames(c.Frames)), c.Seconds) << c.Frames;
}

TEST(CdaFile, OnlyTheFirst36BytesCount)
{
    std::vector<std::uint8_t> head = WithFrames(750);
    head.resize(36);
    EXPECT_EQ(SecondsOf(head), 10);
    head.resize(35);
    EXPECT_EQ(SecondsOf(head), -1);
    EXPECT_EQ(SecondsOf({}), -1);
    std::vector<std::uint8_t> longer = WithFrames(750);
    longer.resize(4096, 0xFF);
    EXPECT_EQ(SecondsOf(longer), 10);
}

TEST(CdaFile, OtherFilesAreNoTrackFiles)
{
    struct Case
    {
        const char* What;
        std::size_t Offset;
        const char* Bytes;
    };
    const Case cases[] = {
        {"RIFX", 0, "RIFX"},
        {"lower-case riff", 0, "riff"},
        {"a WAV file", 8, "WAVEfmt "},
        {"cdda without the format id", 8, "CDDAdata"},
        {"lower-case id", 8, "cddafmt "},
        {"id one byte later", 9, "CDDAfmt "},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = WithFrames(750);
        std::memcpy(bytes.data() + c.Offset, c.Bytes, std::strlen(c.Bytes));
        EXPECT_EQ(SecondsOf(bytes), -1) << c.What;
    }
}
