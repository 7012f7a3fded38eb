// The bounce written file to file: canonical heads, the source's samples
// converted over piece boundaries, names that never overwrite nor leave the
// folder, clamped ranges, the space sum and its texts, cancel between files,
// and failures that leave no partial file.
#include "BounceTestFolder.h"

#include "editor/BounceWriter.h"

#include "editor/BounceConvert.h"

#include "classlib/FileByteSource.h"
#include "classlib/FilePaths.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace testing_support;

namespace {

TWavInfo InfoOf(const AnsiString& path)
{
    TWavInfo info;
    info.Path = path;
    GetWavInfo(info);
    return info;
}

TBounceRegion Region(const AnsiString& name, std::int32_t start, std::int32_t end,
                     double volume = 1.0, TOutputMode mode = TOutputMode::NoTouch)
{
    return {name, start, end, volume, mode};
}

class BounceWriter : public testing::Test
{
protected:
    TempFolder folder;
    AnsiString out = folder.Path() + "out\\";

    void SetUp() override { ASSERT_TRUE(CreateDir(out)); }

    // A source file of frames frames of noise.
    TWavInfo Source(int channels, int frames, std::vector<std::int16_t>& samples)
    {
        samples = NoiseSamples(frames, channels, 11);
        return InfoOf(WriteWav(folder, "source.wav", WavBuilder().Pcm16(channels, 44100, samples)));
    }

    TBounceOutcome Bounce(const TWavInfo& wav, const std::vector<TBounceRegion>& regions,
                          TBounceProgress progress = {})
    {
        return WriteBounceFiles(wav, regions, out, progress);
    }

    std::vector<AnsiString> OutNames() const
    {
        std::vector<AnsiString> names = FileNamesIn(out);
        std::sort(names.begin(), names.end());
        return names;
    }

    // The samples of an output file after its 44-byte head.
    std::vector<std::int16_t> SamplesIn(const AnsiString& name) const
    {
        const AnsiString bytes = ReadWholeFile(out + name);
        if (bytes.size() < 44)
            return {};
        return SamplesOf(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 44,
                         bytes.size() - 44);
    }
};

// The samples of frames first.. first + count of a source, converted.
std::vector<std::int16_t> Expected(const std::vector<std::int16_t>& source, int channels, int first,
                                   int count, double volume, TOutputMode mode)
{
    std::vector<std::int16_t> range(source.begin() + first * channels,
                                    source.begin() + (first + count) * channels);
    range.resize(ConvertBuffer(range.data(), range.size(), channels, volume, mode));
    return range;
}

} // namespace

TEST_F(BounceWriter, EveryModeOnStereoAndMonoSourcesGivesTheSourceRange)
{
    const TOutputMode modes[] = {TOutputMode::NoTouch, TOutputMode::MonoMix, TOutputMode::MonoLeft,
                                 TOutputMode::MonoRight, TOutputMode::Swap};
    for (int channels : {2, 1}) {
        std::vector<std::int16_t> samples;
        // A region of one and a half pieces, off the start of the data.
        const int pieceFrames = kBouncePieceBytes / (2 * channels);
        const TWavInfo wav = Source(channels, 2 * pieceFrames, samples);
        ASSERT_TRUE(wav.IsPlayable);
        const int first = 1001;
        const int count = pieceFrames + pieceFrames / 2 + 3;
        std::vector<TBounceRegion> regions;
        for (TOutputMode mode : modes)
            for (double volume : {1.0, 0.5})
                regions.push_back(Region("r", first, first + count, volume, mode));
        int pieces = 0;
        const TBounceOutcome outcome = Bounce(wav, regions, {[&] { ++pieces; }, nullptr});
        ASSERT_EQ(outcome.Result, TBounceResult::Done) << outcome.Error;
        ASSERT_EQ(outcome.Files.size(), regions.size());
        // Paints get through inside a long file.
        EXPECT_GE(pieces, 2 * int(regions.size()));

        for (std::size_t i = 0; i < regions.size(); ++i) {
            const TBounceRegion& region = regions[i];
            SCOPED_TRACE(testing::Message() << channels << " channels, mode " << int(region.OutMode)
                                            << ", volume " << region.Volume);
            const int outChannels = BounceOutputChannels(channels, region.OutMode);
            const TWavInfo made = InfoOf(out + outcome.Files[i]);
            EXPECT_TRUE(made.IsPlayable);
            EXPECT_EQ(made.SampleStart, 44u);
            EXPECT_EQ(made.Channel, outChannels);
            EXPECT_EQ(made.Rate, 44100u);
            EXPECT_EQ(made.BlockSize, 2 * outChannels);
            EXPECT_EQ(made.BytesPerSecond, 44100u * 2 * outChannels);
            EXPECT_EQ(made.DataSize, std::uint32_t(count * 2 * outChannels));
            EXPECT_EQ(made.Size, std::int32_t(44 + made.DataSize));
            EXPECT_EQ(SamplesIn(outcome.Files[i]),
                      Expected(samples, channels, first, count, region.Volume, region.OutMode));
        }
        for (const AnsiString& name : outcome.Files)
            ASSERT_TRUE(DeleteFile(out + name));
    }
}

TEST_F(BounceWriter, NamesTakeTheFirstFreeNumberAndNeverOverwrite)
{
    std::vector<std::int16_t> samples;
    const TWavInfo wav = Source(2, 100, samples);
    TBounceOutcome outcome =
        Bounce(wav, {Region("take", 0, 10), Region("take", 10, 20), Region("take", 20, 30)});
    EXPECT_EQ(outcome.Files, (std::vector<AnsiString>{"take.wav", "take(1).wav", "take(2).wav"}));
    EXPECT_EQ(SamplesIn("take(1).wav"), Expected(samples, 2, 10, 10, 1.0, TOutputMode::NoTouch));

    // Files of another program, and a folder, keep their names and bytes.
    WriteWholeFile(out + "take(3).wav", "keep");
    ASSERT_TRUE(CreateDir(out + "solo.wav"));
    outcome = Bounce(wav, {Region("take", 0, 10), Region("solo", 0, 10)});
    EXPECT_EQ(outcome.Files, (std::vector<AnsiString>{"take(4).wav", "solo(1).wav"}));
    EXPECT_EQ(ReadWholeFile(out + "take(3).wav"), "keep");
}

TEST(BounceNames, RegionNamesBecomeSafeFileNames)
{
    struct Case
    {
        const char* name;
        const char* file;
    };
    const Case cases[] = {
        {"take", "take"},
        {"..\\x", ".._x"},
        {"../up", ".._up"},
        {"a:b", "a_b"},
        {"C:\\Windows\\x", "C__Windows_x"},
        {"\\\\server\\share", "__server_share"},
        {"a*b?c\"d<e>f|g", "a_b_c_d_e_f_g"},
        {"tab\there\r\n", "tab_here__"},
        {"CON", "_CON"},
        {"con.x", "_con.x"},
        {"Nul .mix", "_Nul .mix"},
        {"LPT9", "_LPT9"},
        {"com1", "_com1"},
        {"CONOUT$", "_CONOUT$"},
        {"COM0", "COM0"},
        {"CONSOLE", "CONSOLE"},
        {"LPT10", "LPT10"},
        {"..", ".."},
        {"", ""},
        // Whole double-byte characters stay, a second byte 0x5C or 0x7C too.
        {"表", "表"},
        {"ソ\\x", "ソ_x"},
        {"ポ", "ポ"}, // 0x83 0x7C
        // A first byte without its second half.
        {"take\x95", "take_"},
        {"\x81/..", "__.."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BounceSafeName(c.name), c.file) << c.name;
    EXPECT_EQ(BounceFileName("take", 0), "take.wav");
    EXPECT_EQ(BounceFileName("take", 12), "take(12).wav");

    // Where the folder leaves room characters for a name, the base is cut
    // after a whole character; a name that cannot keep one stays whole.
    struct Fit
    {
        const char* base;
        int n;
        std::size_t room;
        const char* file;
    };
    const Fit fits[] = {
        {"take", 0, 8, "take.wav"}, {"take", 0, 7, "tak.wav"},     {"take", 12, 9, "t(12).wav"},
        {"表示", 0, 5, "表.wav"},   {"ソ表", 1, 8, "ソ(1).wav"},   {"a表", 0, 5, "a.wav"},
        {"take", 0, 4, "take.wav"}, {"take", 3, 7, "take(3).wav"},
    };
    for (const Fit& f : fits)
        EXPECT_EQ(BounceFileName(f.base, f.n, f.room), f.file) << f.base << " " << f.room;
    EXPECT_EQ(BounceProposedName(12), "12個のリージョン");
}

TEST_F(BounceWriter, HostileNamesStayInTheFolder)
{
    std::vector<std::int16_t> samples;
    const TWavInfo wav = Source(2, 100, samples);
    const TBounceOutcome outcome =
        Bounce(wav, {Region("..\\x", 0, 10), Region("CON", 0, 10), Region("a:b", 0, 10),
                     Region("表", 0, 10), Region("../up", 0, 10)});
    ASSERT_EQ(outcome.Result, TBounceResult::Done) << outcome.Error;
    EXPECT_EQ(OutNames(),
              (std::vector<AnsiString>{".._up.wav", ".._x.wav", "_CON.wav", "a_b.wav", "表.wav"}));
    std::vector<AnsiString> above = FileNamesIn(folder.Path());
    std::sort(above.begin(), above.end());
    EXPECT_EQ(above, (std::vector<AnsiString>{"out", "source.wav"}));
}

TEST_F(BounceWriter, RangesAreClampedToTheFile)
{
    std::vector<std::int16_t> samples;
    const TWavInfo wav = Source(2, 1000, samples);
    struct Case
    {
        std::int32_t start, end;
        int first, count;
    };
    const Case cases[] = {
        {-100, 50, 0, 50},  {990, 5000, 990, 10}, {-5, 2000, 0, 1000}, {50, 20, 0, 0},
        {2000, 3000, 0, 0}, {-5, -1, 0, 0},       {500, 500, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << ".." << c.end);
        const TBounceOutcome outcome = Bounce(wav, {Region("r", c.start, c.end)});
        ASSERT_EQ(outcome.Result, TBounceResult::Done) << outcome.Error;
        const AnsiString bytes = ReadWholeFile(out + outcome.Files[0]);
        ASSERT_EQ(bytes.size(), 44u + 4 * c.count);
        TWavHead head;
        std::memcpy(&head, bytes.data(), 44);
        EXPECT_EQ(head.RiffSize, 36u + 4 * c.count);
        EXPECT_EQ(head.DataSize, 4u * c.count);
        EXPECT_EQ(SamplesIn(outcome.Files[0]),
                  Expected(samples, 2, c.first, c.count, 1.0, TOutputMode::NoTouch));
        ASSERT_TRUE(DeleteFile(out + outcome.Files[0]));
    }
}

TEST(BounceSpace, TheSumHalvesOnlyStereoFilesMadeMono)
{
    TWavInfo stereo;
    stereo.Channel = 2;
    stereo.BlockSize = 4;
    stereo.SampleSize = 1000;
    TWavInfo mono = stereo;
    mono.Channel = 1;
    mono.BlockSize = 2;
    struct Case
    {
        const TWavInfo& wav;
        std::vector<TBounceRegion> regions;
        std::int64_t needed;
    };
    const Case cases[] = {
        {stereo, {}, 0},
        {stereo, {Region("a", 0, 100)}, 400 + 44},
        {stereo, {Region("a", 0, 101, 1.0, TOutputMode::MonoLeft)}, 202 + 44},
        {stereo, {Region("a", 0, 100, 1.0, TOutputMode::Swap)}, 400 + 44},
        {mono, {Region("a", 0, 100, 1.0, TOutputMode::MonoMix)}, 200 + 44},
        {stereo, {Region("a", -50, 5000), Region("b", 70, 20)}, 4000 + 44 + 44},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BounceSpaceNeeded(c.regions, c.wav), c.needed) << c.regions.size();
}

TEST(BounceSpace, SizesAreShownInThreeFormats)
{
    struct Case
    {
        std::int64_t bytes;
        const char* text;
    };
    const Case cases[] = {
        {-1, "0.0 Kbytes"},
        {0, "0.0 Kbytes"},
        {1536, "1.5 Kbytes"},
        {1048575, "1,024.0 Kbytes"},
        {1048576, "1.0 MB"},
        {1073741823, "1,024.0 MB"},
        {1073741824, "1.00 GB"},
        {5 * 1073741824LL + 1073741824LL / 4, "5.25 GB"},
        {2048 * 1073741824LL, "2,048.00 GB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BounceSizeText(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(BounceSpaceMessage(1048576, 1536),
              "空き容量が足りないのでファイルを出力できません\r\r出力サイズ： 1.0 MB / "
              "空き容量： 1.5 Kbytes");
}

TEST_F(BounceWriter, CancelStopsBetweenFilesWhileFilesRemain)
{
    std::vector<std::int16_t> samples;
    const TWavInfo wav = Source(2, 100, samples);
    struct Case
    {
        int regions;
        int cancelAfter; // the file after which Cancel is seen
        TBounceResult result;
        std::size_t files;
    };
    const Case cases[] = {
        {4, 1, TBounceResult::Cancelled, 1}, {4, 3, TBounceResult::Cancelled, 3},
        {4, 4, TBounceResult::Done, 4},      {2, 1, TBounceResult::Cancelled, 1},
        {1, 1, TBounceResult::Done, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.regions << " regions, cancel after " << c.cancelAfter);
        std::vector<TBounceRegion> regions(c.regions, Region("r", 0, 50));
        std::vector<int> seen;
        const TBounceOutcome outcome = Bounce(wav, regions, {nullptr, [&](int written, int total) {
                                                                 seen.push_back(written);
                                                                 EXPECT_EQ(total, c.regions);
                                                                 return written < c.cancelAfter;
                                                             }});
        EXPECT_EQ(outcome.Result, c.result);
        EXPECT_EQ(outcome.Files.size(), c.files);
        EXPECT_EQ(OutNames().size(), c.files);
        EXPECT_EQ(seen.size(), c.files);
        for (const AnsiString& name : OutNames())
            ASSERT_TRUE(DeleteFile(out + name));
    }
}

TEST_F(BounceWriter, AFailedWriteDeletesThePartialFileAndKeepsTheOthers)
{
    std::vector<std::int16_t> samples;
    const TWavInfo wav = Source(2, 100000, samples);
    const std::vector<TBounceRegion> regions = {Region("a", 0, 50000), Region("b", 0, 90000),
                                                Region("c", 0, 100)};
    // The head goes through, then the data fails partway; or the head fails.
    for (std::int64_t budget : {std::int64_t(100000), std::int64_t(10)}) {
        SCOPED_TRACE(budget);
        TTestBounceFolder target(out);
        target.FailFile(2, budget);
        TFileByteSource source(wav.Path);
        const TBounceOutcome outcome = WriteBounceFiles(source, wav, regions, target, {});
        EXPECT_EQ(outcome.Result, TBounceResult::Failed);
        EXPECT_FALSE(outcome.Error.empty());
        EXPECT_EQ(outcome.Files, std::vector<AnsiString>{"a.wav"});
        EXPECT_EQ(OutNames(), std::vector<AnsiString>{"a.wav"});
        EXPECT_EQ(SamplesIn("a.wav"), Expected(samples, 2, 0, 50000, 1.0, TOutputMode::NoTouch));
        ASSERT_TRUE(DeleteFile(out + "a.wav"));
    }
}

TEST_F(BounceWriter, ASourceShorterThanItsHeadOrAMissingFolderFails)
{
    std::vector<std::int16_t> samples;
    TWavInfo wav = Source(2, 1000, samples);
    SetFileLength(wav.Path, 44 + 4 * 600);
    TBounceOutcome outcome = Bounce(wav, {Region("a", 0, 500), Region("b", 400, 700)});
    EXPECT_EQ(outcome.Result, TBounceResult::Failed);
    EXPECT_EQ(OutNames(), std::vector<AnsiString>{"a.wav"});

    outcome = WriteBounceFiles(wav, {Region("a", 0, 10)}, out + "missing\\", {});
    EXPECT_EQ(outcome.Result, TBounceResult::Failed);
    EXPECT_TRUE(outcome.Files.empty());

    wav.Path = folder.File("gone.wav");
    outcome = Bounce(wav, {Region("c", 0, 10)});
    EXPECT_EQ(outcome.Result, TBounceResult::Failed);

    // Facts that the document never opens are refused before any file.
    wav = Source(2, 1000, samples);
    wav.BlockSize = 6;
    outcome = Bounce(wav, {Region("d", 0, 10)});
    EXPECT_EQ(outcome.Result, TBounceResult::Failed);
    EXPECT_EQ(OutNames(), std::vector<AnsiString>{"a.wav"});
}
