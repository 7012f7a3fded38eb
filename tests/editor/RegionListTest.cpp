// The region list's rules without windows: default names, refused ranges,
// column texts, sorting, the reorder keys, the span of regions and the drag
// edits.
#include "editor/RegionList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

TRegionList RecordsNamed(const std::vector<const char*>& names)
{
    TRegionList list;
    for (const char* name : names)
        list.Add({name, 0, 10});
    return list;
}

struct NameCase
{
    const char* Wav;
    std::vector<const char*> Names; // every record, deleted items' included
    const char* Next;
};

TEST(RegionNames, TheNextNameIsOnePastTheHighestNumberOfAnyRecord)
{
    const NameCase cases[] = {
        {"C:\\rec\\take.wav", {}, "take_01"},
        {"C:\\rec\\take.wav", {"take_01", "take_03", "take_04"}, "take_05"},
        {"C:\\rec\\take.wav", {"take_08"}, "take_09"},
        {"C:\\rec\\take.wav", {"take_99"}, "take_100"},
        {"C:\\rec\\take.wav", {"take_00"}, "take_01"},
        {"C:\\rec\\take.wav", {"other_40", "take_x", "take_-7"}, "take_01"},
        {"C:\\rec\\take.wav", {"take_take_6"}, "take_07"}, // every base_ goes
        {"C:\\rec\\a.b.wav", {"a.b_x", "a.b_02"}, "a.b_03"},
        {"C:\\rec\\a.b.wav", {"a_05"}, "a.b_01"},
        // A trail byte 0x5C inside the base is no folder separator.
        {"C:\\rec\\\x83\x5C.wav", {"\x83\x5C_04"}, "\x83\x5C_05"},
    };
    for (const NameCase& c : cases) {
        const AnsiString base = RegionNameBase(c.Wav);
        const TRegionList records = RecordsNamed(c.Names);
        EXPECT_EQ(DefaultRegionName(base, NextRegionNumber(records, base)), c.Next) << c.Wav;
    }
}

TEST(RegionNames, RecordsStayWhereTheyAreWhileTheListGrows)
{
    TRegionList list;
    const TRegionData* first = &list.Add({"first", 0, 1});
    for (int i = 0; i < 5000; ++i)
        list.Add({"more", i, i + 1});
    EXPECT_EQ(first, &list[0]);
    EXPECT_EQ(first->Name, "first");
}

TEST(RegionNames, OnlyRangesInsideTheFileAndNotEmptyAreTaken)
{
    struct Case
    {
        TRegionRange Range;
        bool Taken;
    };
    const Case cases[] = {
        {{0, 1000}, true}, {{5, 6}, true},      {{5, 5}, false},     {{6, 5}, false},
        {{-1, 10}, false}, {{10, 1001}, false}, {{999, 1000}, true}, {{1000, 1000}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewRegionRange(c.Range, 1000), c.Taken) << c.Range.Start << ".." << c.Range.End;
}

TEST(RegionTexts, VolumeAfterADragAndTheOutputModes)
{
    const std::pair<double, const char*> volumes[] = {
        {1.0, "-"}, {0.5, "-6.0 dB"}, {0.0, "-∞ dB"}, {2.0, "+6.0 dB"}, {0.99, "-0.1 dB"}};
    for (const auto& [volume, text] : volumes)
        EXPECT_EQ(DraggedVolumeText(volume), text) << volume;
    const char* modes[] = {"-", "モノラルミックス", "左チャンネルのみ", "右チャンネルのみ",
                           "左右チャンネル入れ替え"};
    for (int mode = 0; mode < 5; ++mode)
        EXPECT_STREQ(OutputModeText(static_cast<TOutputMode>(mode)), modes[mode]);
}

TEST(RegionTexts, ANewRegionShowsItsTimesAndTwoDashes)
{
    const TRegionData region{"take_01", 44100, 154350};
    EXPECT_EQ(NewRegionTexts(region, 44100),
              (std::vector<AnsiString>{"0:02.50", "0:01.00", "0:03.50", "-", "-"}));
    EXPECT_EQ(RegionTimeTexts(region, 0)[0], "0:00.00");
}

// --- Sorting

TEST(RegionSort, AClickOnTheKeyColumnTurnsTheOrderRound)
{
    struct Case
    {
        int Key;
        int Column;
        int Next;
    };
    const Case cases[] = {{0, 2, 3}, {3, 2, -3}, {-3, 2, 3}, {3, 0, 1}, {-1, 4, 5}, {0, 6, 7}};
    for (const Case& c : cases)
        EXPECT_EQ(SortKeyAfterClick(c.Key, c.Column), c.Next) << c.Key << " " << c.Column;
}

// Rows as the list holds them: a caption, a record, the sub-item texts.
struct Rows
{
    struct Row
    {
        AnsiString Caption;
        TRegionData Record;
        std::unique_ptr<TStringList> Texts;
    };
    std::vector<Row> All;

    void Add(const char* caption, std::int32_t start, std::int32_t end, double volume,
             TOutputMode mode)
    {
        Row row{caption, {caption, start, end, volume, mode}, std::make_unique<TStringList>()};
        for (const AnsiString& text : NewRegionTexts(row.Record, 1000))
            row.Texts->Add(text);
        row.Texts->SetStrings(SubItemOf(TRegionColumn::OutMode), OutputModeText(mode));
        All.push_back(std::move(row));
    }
    // The captions in the order a stable sort by key gives.
    std::vector<std::string> SortedBy(int key) const
    {
        std::vector<const Row*> order;
        for (const Row& row : All)
            order.push_back(&row);
        std::stable_sort(order.begin(), order.end(), [key](const Row* a, const Row* b) {
            return CompareRegionRows(key, {a->Caption, a->Record, *a->Texts},
                                     {b->Caption, b->Record, *b->Texts}) < 0;
        });
        std::vector<std::string> captions;
        for (const Row* row : order)
            captions.push_back(row->Caption);
        return captions;
    }
};

using Captions = std::vector<std::string>;

TEST(RegionSort, EachKeyOrdersItsValueAndEqualRowsKeepTheirOrder)
{
    Rows rows;
    rows.Add("b", 300, 400, 1.0, TOutputMode::Swap);
    rows.Add("a", 100, 900, 0.5, TOutputMode::NoTouch);
    rows.Add("c", 300, 350, 2.0, TOutputMode::MonoMix);
    rows.Add("B", 50, 450, 1.0, TOutputMode::NoTouch);
    EXPECT_EQ(rows.SortedBy(0), (Captions{"b", "a", "c", "B"}));
    EXPECT_EQ(rows.SortedBy(3), (Captions{"B", "a", "b", "c"})); // b and c start together
    EXPECT_EQ(rows.SortedBy(-3), (Captions{"b", "c", "a", "B"}));
    EXPECT_EQ(rows.SortedBy(2), (Captions{"c", "b", "B", "a"})); // lengths 50, 100, 400, 800
    EXPECT_EQ(rows.SortedBy(4), (Captions{"c", "b", "B", "a"}));
    EXPECT_EQ(rows.SortedBy(5), (Captions{"a", "b", "B", "c"}));
    EXPECT_EQ(rows.SortedBy(-5), (Captions{"c", "b", "B", "a"}));
    // From 6 on the texts of the columns after the volume.
    const char* modes[] = {"y", "x", "z", "x"};
    for (int i = 0; i < 4; ++i)
        rows.All[i].Texts->SetStrings(SubItemOf(TRegionColumn::OutMode), modes[i]);
    EXPECT_EQ(rows.SortedBy(6), (Captions{"a", "B", "b", "c"}));
    EXPECT_EQ(rows.SortedBy(-6), (Captions{"c", "b", "a", "B"}));
    const Captions byName = rows.SortedBy(1);
    EXPECT_EQ(byName.front(), "a");
    EXPECT_EQ(byName.back(), "c");
}

// --- Reordering

// The rows 0 .. keys.size() - 1 after a stable sort by their keys.
std::vector<int> OrderAfter(const std::vector<char>& keys)
{
    std::vector<int> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    return order;
}

TEST(RegionReorder, SelectedRowsMoveInTheirOrderBeforeTheTarget)
{
    struct Case
    {
        const char* Name;
        std::vector<bool> Selected;
        int Target;
        std::vector<int> Order;
    };
    const Case cases[] = {
        {"two onto the first", {false, false, true, true, false}, 0, {2, 3, 0, 1, 4}},
        {"one down", {true, false, false, false}, 2, {1, 0, 2, 3}},
        {"apart, into the middle", {true, false, false, true, false}, 2, {1, 0, 3, 2, 4}},
        {"onto the last: to the end", {false, true, false, false}, 3, {0, 2, 3, 1}},
        {"onto a selected row", {false, true, true, false}, 2, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        const auto keys = MoveRowsKeys(c.Selected, c.Target);
        ASSERT_TRUE(keys) << c.Name;
        EXPECT_EQ(OrderAfter(*keys), c.Order) << c.Name;
    }
}

TEST(RegionReorder, DropsThatMoveNothingAreIgnored)
{
    EXPECT_FALSE(MoveRowsKeys({true}, 0));                      // one row
    EXPECT_FALSE(MoveRowsKeys({true, true, true}, 1));          // every row
    EXPECT_FALSE(MoveRowsKeys({false, true, false}, 1));        // onto itself
    EXPECT_FALSE(MoveRowsKeys({false, true, false}, -1));       // onto no row
    EXPECT_FALSE(MoveRowsKeys({false, false, false, true}, 4)); // past the rows
}

TEST(RegionReorder, TheSpanOfRegions)
{
    const TRegionData a{"a", 500, 900};
    const TRegionData b{"b", 100, 300};
    const TRegionData c{"c", 700, 1200};
    EXPECT_EQ(RegionSpan({&a, &b, &c}), (TRegionRange{100, 1200}));
    EXPECT_EQ(RegionSpan({&a}), (TRegionRange{500, 900}));
    EXPECT_FALSE(RegionSpan({}));
}

// --- Drag edits

TEST(RegionDragEdit, ItBeginsFourPixelsAwayFromThePress)
{
    EXPECT_FALSE(DragEditBegins(100, 103));
    EXPECT_FALSE(DragEditBegins(100, 97));
    EXPECT_TRUE(DragEditBegins(100, 104));
    EXPECT_TRUE(DragEditBegins(100, 96));
}

TEST(RegionDragEdit, MovesUpMakePlacesLaterAndStopAtTheirLimits)
{
    struct Case
    {
        const char* Name;
        TEditListSnapshot Region;
        std::int32_t Dy;
        std::int32_t Start; // after a drag of the start
        std::int32_t End;   // after a drag of the end
    };
    // Samples per pixel 512, length 100000.
    const Case cases[] = {
        {"up 3 px", {1.0, 10000, 20000}, -3, 11536, 21536},
        {"down 3 px", {1.0, 10000, 20000}, 3, 8464, 18464},
        {"the start not below 0, the end not past the length", {1.0, 1000, 99000}, 10, 0, 93880},
        {"the end capped at the length", {1.0, 1000, 99000}, -3, 2536, 100000},
        {"the start stops before the end", {1.0, 10000, 11000}, -10, 11000 - 512, 16120},
        {"the start passing the end, near 0", {1.0, 100, 300}, -10, 0, 5420},
        {"the end stops after the start", {1.0, 10000, 11000}, 10, 4880, 10512},
        {"the end below the start, near the length", {1.0, 99800, 99900}, 10, 94680, 100000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DraggedRegionStart(c.Region, c.Dy, 512), c.Start) << c.Name;
        EXPECT_EQ(DraggedRegionEnd(c.Region, c.Dy, 512, 100000), c.End) << c.Name;
    }
}

TEST(RegionDragEdit, VolumeMovesOnePercentAPixelAndACutBarStaysInTheFile)
{
    EXPECT_EQ(DraggedRegionVolume(1.0, 150), 0.0);
    EXPECT_EQ(DraggedRegionVolume(1.0, -100), 2.0);
    EXPECT_EQ(DraggedRegionVolume(1.0, 0), 1.0);
    EXPECT_DOUBLE_EQ(DraggedRegionVolume(0.5, -25), 0.75);
    EXPECT_EQ(DraggedCutBar(10000, 10, 256, 50000), 10000 - 2560);
    EXPECT_EQ(DraggedCutBar(2000, 10, 256, 50000), 0);
    EXPECT_EQ(DraggedCutBar(49000, -10, 256, 50000), 50000);
}

} // namespace
