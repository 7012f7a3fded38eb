// The document without a window: how an open answers, the regions it adds,
// the cut-bar edits and which of them count as a change, and what closing
// lets go of.
#include "editor/EditorDocument.h"

#include "editor/DrawCacheFile.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FilePaths.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <functional>

using namespace testing_support;

namespace {

class EditorDocument : public testing::Test
{
protected:
    TempFolder folder;
    TDirectWavEngine engine{nullptr};
    TEditorDocument document;

    // A mono file of 10000 frames, open in the engine the document uses.
    void Open()
    {
        const std::string path =
            WriteWav(folder, "take.wav", WavBuilder().Pcm16(1, 44100, SilenceSamples(10000, 1)));
        ASSERT_TRUE(engine.LoadFile(path));
        document.UseEngine(&engine);
    }
    std::vector<AnsiString> Names() const
    {
        std::vector<AnsiString> names;
        for (const TRegionData& region : document.Regions())
            names.push_back(region.Name);
        return names;
    }
};

} // namespace

TEST_F(EditorDocument, WithoutAFileTakesNoRegion)
{
    EXPECT_FALSE(document.FileLoaded());
    EXPECT_EQ(document.Length(), 0);
    EXPECT_TRUE(document.NewRegionRanges({{0, 100}}).empty());
    EXPECT_EQ(document.ListPath(), "");
}

TEST_F(EditorDocument, AddsRegionsWithDefaultNamesWithinTheFile)
{
    Open();
    const std::vector<TRegionRange> taken =
        document.NewRegionRanges({{0, 100}, {500, 500}, {9000, 10001}, {9000, 10000}});
    EXPECT_EQ(taken, (std::vector<TRegionRange>{{0, 100}, {9000, 10000}}));
    EXPECT_TRUE(document.AddRegions({}).empty());
    EXPECT_FALSE(document.Modified());
    const std::vector<TRegionData*> added = document.AddRegions(taken);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[1]->Start, 9000);
    EXPECT_DOUBLE_EQ(added[1]->Volume, 1.0);
    EXPECT_TRUE(document.Modified());
    document.Regions()[0].Name = "take_07";
    document.AddRegions({{1, 2}});
    EXPECT_EQ(Names(), (std::vector<AnsiString>{"take_07", "take_02", "take_08"}));
}

TEST_F(EditorDocument, CutBarEditsAndWhichCountAsAChange)
{
    Open();
    struct Case
    {
        const char* name;
        std::function<bool(TEditorDocument&)> edit; // false: nothing to do
        std::vector<std::int32_t> bars;             // afterwards, from 100, 500, 900
        bool modified;
    };
    const auto all = [](auto edit) {
        return [edit](TEditorDocument& d) {
            edit(d);
            return true;
        };
    };
    const Case cases[] = {
        {"added, sorted",
         all([](auto& d) {
             d.AddCutBars({700, 50});
         }),
         {50, 100, 500, 700, 900},
         true},
        {"nearest removed", [](auto& d) { return d.RemoveCutBarNearest(650); }, {100, 900}, true},
        {"within removed", [](auto& d) { return d.RemoveCutBarsWithin(100, 500); }, {900}, true},
        {"none within",
         [](auto& d) { return !d.RemoveCutBarsWithin(101, 499); },
         {100, 500, 900},
         false},
        {"deleted", [](auto& d) { return d.DeleteCutBar(1); }, {100, 900}, false},
        {"none deleted", [](auto& d) { return !d.DeleteCutBar(3); }, {100, 500, 900}, false},
        {"moved", [](auto& d) { return d.MoveCutBar(0, 800); }, {500, 800, 900}, true},
        {"cleared", all([](auto& d) { d.ClearCutBars(); }), {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        document.ClearCutBars();
        document.AddLoadedCutBars({"000000000100", "000000000500", "000000000900"});
        document.MarkSaved();
        EXPECT_TRUE(c.edit(document));
        EXPECT_EQ(document.CutBarSamples(), c.bars);
        EXPECT_EQ(document.Modified(), c.modified);
    }
    document.AddLoadedCutBars({"000000000900"});
    EXPECT_EQ(document.CutBarAt(0), 900);
    EXPECT_FALSE(document.CutBarAt(1));
}

TEST_F(EditorDocument, ClosingLetsGoOfTheFileAndWhatBelongsToIt)
{
    Open();
    document.AddRegions({{0, 100}});
    document.AddCutBars({10});
    document.DrawMono().Data.resize(4);
    document.RegionClip().Ranges = {{0, 5}};
    document.SetRglPath(folder / "take.rgl");
    const std::uint32_t generation = document.DrawGeneration();
    EXPECT_EQ(document.ListPath(), folder / "take.rgl");
    // A changed list asks, unless nothing could be lost.
    EXPECT_TRUE(document.CloseNeedsQuestion(false));
    EXPECT_FALSE(document.CloseNeedsQuestion(true));

    document.Close();
    EXPECT_FALSE(document.FileLoaded());
    EXPECT_FALSE(engine.IsPlayable());
    EXPECT_EQ(document.CutBarCount(), 0);
    EXPECT_EQ(document.DrawEntryCount(), 0);
    EXPECT_NE(document.DrawGeneration(), generation);
    EXPECT_TRUE(document.RegionClip().Empty());
    EXPECT_EQ(document.RglPath(), "");
    EXPECT_EQ(document.Regions().Count(), 0);
    EXPECT_FALSE(document.Modified());
}

TEST_F(EditorDocument, AResetViewStartsPlayAtTheFilesFirstSample)
{
    Open();
    document.MoveCursor(5000);
    document.SetPlayStart(5000);
    document.ResetView();
    EXPECT_EQ(document.View().PlayPos, 0);
    EXPECT_EQ(document.PlayStart(), 0);
    EXPECT_FALSE(document.View().HasSelection);
}

// --- Open and reload -----------------------------------------------------------------------

namespace {

// The processing window as a test plays it: it stops the build at the first
// report when told to, and keeps what the build ended in.
class BuildViewStub : public TDrawBuildView
{
public:
    explicit BuildViewStub(bool stop) : FStop(stop) {}
    bool Progress(const TDrawProgress&) override { return !FStop; }
    bool Ended(const TOpenStep& step) override
    {
        Ends.push_back(step.Answer);
        return true;
    }
    std::vector<TOpenAnswer> Ends;

private:
    bool FStop;
};

} // namespace

TEST_F(EditorDocument, AnOpenIsRefusedReadyOrBuiltAndAFailedBuildLeavesNoFile)
{
    using A = TOpenAnswer;
    const std::string stereo =
        WriteWav(folder, "take.wav", WavBuilder().Pcm16(2, 44100, SilenceSamples(5000, 2)));
    const std::string longer =
        WriteWav(folder, "long.wav", WavBuilder().Pcm16(2, 44100, NoiseSamples(2200000, 2, 3)));
    struct Case
    {
        const char* Name;
        std::string Path;
        bool StopBuild;
        TOpenStep First;   // what Open answers
        TOpenAnswer Built; // what the build ends in; Refused: no build
        bool Open;         // a file is open afterwards
    } cases[] = {
        {"not a wav",
         WriteWav(folder, "hello.wav", Bytes{'h', 'i'}),
         false,
         {A::Refused, TWavRefusal::NotPlayable},
         A::Refused,
         false},
        {"eight bits",
         WriteWav(folder, "eight.wav", WavBuilder().Pcm(1, 8000, 8, Bytes(100, 0x80))),
         false,
         {A::Refused, TWavRefusal::Not16Bit},
         A::Refused,
         false},
        {"built", stereo, false, {A::NeedsBuild}, A::Ready, true},
        {"from its cache", stereo, false, {A::Ready}, A::Refused, true},
        {"cancelled", longer, true, {A::NeedsBuild}, A::Cancelled, false},
    };
    document.UseEngine(&engine);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TOpenStep first = document.Open(c.Path, {0, true, 100});
        EXPECT_EQ(first.Answer, c.First.Answer);
        EXPECT_EQ(first.Refusal, c.First.Refusal);
        EXPECT_EQ(document.Busy(), first.Answer == A::NeedsBuild);
        BuildViewStub view(c.StopBuild);
        if (first.Answer == A::NeedsBuild) {
            EXPECT_EQ(document.BuildDrawData(view).Answer, c.Built);
        }
        EXPECT_EQ(view.Ends, c.Built == A::Refused ? std::vector<A>{} : std::vector<A>{c.Built});
        EXPECT_FALSE(document.Busy());
        EXPECT_EQ(document.FileLoaded(), c.Open);
        if (c.Open) {
            EXPECT_EQ(document.FilePath(), c.Path);
            EXPECT_EQ(document.DrawEntryCount(), 5000); // one entry a frame for a short file
            EXPECT_EQ(document.View().Zoom, 50);        // the whole file in 100 columns
            EXPECT_TRUE(FileExists(DrawCachePath(c.Path)));
        } else {
            EXPECT_EQ(document.DrawEntryCount(), 0);
        }
    }
}
