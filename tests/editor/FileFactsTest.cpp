// The properties window's texts from a parsed header: number forms and the
// file size around its unit changes.
#include "editor/FileFacts.h"

#include <gtest/gtest.h>

namespace {

TWavInfo PlayableInfo(std::uint16_t channels, std::uint32_t rate, std::int32_t frames)
{
    TWavInfo info;
    info.FormatTag = 1;
    info.Channel = channels;
    info.Rate = rate;
    info.Bit = 16;
    info.BlockSize = static_cast<std::uint16_t>(2 * channels);
    info.BytesPerSecond = rate * info.BlockSize;
    info.DataSize = static_cast<std::uint32_t>(frames) * info.BlockSize;
    info.SampleStart = 44;
    info.SampleSize = frames;
    info.Duration = static_cast<double>(frames) / rate;
    info.Size = static_cast<std::int32_t>(44 + info.DataSize);
    info.IsPlayable = true;
    return info;
}

} // namespace

TEST(FileFacts, HeaderNumbersReadAsTheWindowShowsThem)
{
    struct
    {
        std::uint16_t Channels;
        std::uint32_t Rate;
        std::int32_t Frames;
        const char *ChannelText, *RateText, *BytesPerSecond, *Block, *FramesText, *Duration;
    } const cases[] = {
        {2, 44100, 1234567, "ステレオ", "44100 Hz", "176,400", "4", "1,234,567", "0:27.99"},
        {1, 8000, 999, "モノラル", "8000 Hz", "16,000", "2", "999", "0:00.12"},
        {1, 48000, 0, "モノラル", "48000 Hz", "96,000", "2", "0", "0:00.00"},
        {2, 96000, 96000 * 61, "ステレオ", "96000 Hz", "384,000", "4", "5,856,000", "1:01.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.FramesText);
        const TFileFacts facts = FileFactsOf(PlayableInfo(c.Channels, c.Rate, c.Frames));
        EXPECT_EQ(facts.Channels, c.ChannelText);
        EXPECT_EQ(facts.Rate, c.RateText);
        EXPECT_EQ(facts.BytesPerSecond, c.BytesPerSecond);
        EXPECT_EQ(facts.BlockSize, c.Block);
        EXPECT_EQ(facts.Bits, "16 Bit");
        EXPECT_EQ(facts.Offset, "44");
        EXPECT_EQ(facts.Frames, c.FramesText);
        EXPECT_EQ(facts.Duration, c.Duration);
    }
}

TEST(FileFacts, TheSizeChangesUnitAtOneMebibyteAndIsLeftOutFromOneGibibyte)
{
    struct
    {
        std::int64_t Bytes;
        const char* Text;
    } const cases[] = {
        {0, "0.0 Kbytes"},
        {1536, "1.5 Kbytes"},
        {1048575, "1,024.0 Kbytes"},
        {1048576, "1.0 MB ( 1,024.0 Kbytes )"},
        {1572864 + 512, "1.5 MB ( 1,536.5 Kbytes )"},
        {1073741823, "1,024.0 MB ( 1,048,576.0 Kbytes )"},
        {1073741824, ""},
        {2147483647, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Bytes);
        EXPECT_EQ(FileSizeFact(c.Bytes), c.Text);
    }
}
