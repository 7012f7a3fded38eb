// The document without a window: the regions it adds, the cut-bar edits and
// which of them count as a change, and what closing lets go of.
#include "editor/EditorDocument.h"

#include "audio/DirectWavEngine.h"
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

TEST_F(EditorDocument, RemovedRegionsKeepTheirRecordsUntilNoneIsLeft)
{
    Open();
    const std::vector<TRegionData*> added = document.AddRegions({{0, 10}, {10, 20}, {20, 30}});
    document.RemoveRegions({added[1]});
    EXPECT_EQ(document.RegionCount(), 2);
    EXPECT_EQ(document.Regions().Count(), 3);
    EXPECT_EQ(added[2]->Start, 20);
    document.RemoveRegions({added[0], added[2]});
    EXPECT_EQ(document.RegionCount(), 0);
    EXPECT_EQ(document.Regions().Count(), 0);
    // With none listed, nothing is lost: no question.
    EXPECT_FALSE(document.CloseNeedsQuestion(false));
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
        document.SetModified(false);
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
    document.SetLoadCancelled(true);
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
    EXPECT_FALSE(document.LoadCancelled());
    // The records stay for the list's items until Clear.
    EXPECT_EQ(document.Regions().Count(), 1);
    document.Clear();
    EXPECT_EQ(document.Regions().Count(), 0);
    EXPECT_FALSE(document.Modified());
}

TEST_F(EditorDocument, AResetViewStartsPlayAtTheFilesFirstSample)
{
    Open();
    document.View().PlayPos = 5000;
    document.SetPlayStart(5000);
    document.ResetView();
    EXPECT_EQ(document.View().PlayPos, 0);
    EXPECT_EQ(document.PlayStart(), 0);
    EXPECT_FALSE(document.View().HasSelection);
}
