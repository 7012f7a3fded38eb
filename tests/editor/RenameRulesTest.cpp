// The rename rules on names with trail bytes 0x5C, 0x7C and letters (ソ 表
// ポ 怖 ア ヂ ッ), the preview and apply over a list, the manual input's
// steps, loaded lines, where loaded names go and how clashes are numbered.
#include "editor/RenameRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TRenameSettings Add(TRenameAddRule rule, TRenamePlace place, double start, double digits,
                    const char* text = "")
{
    TRenameSettings s;
    s.Tab = TRenameTab::Add;
    s.AddRule = rule;
    s.AddPlace = place;
    s.SerialStart = start;
    s.SerialDigits = digits;
    s.AddText = text;
    return s;
}

TRenameSettings DeleteText(const char* text)
{
    TRenameSettings s;
    s.Tab = TRenameTab::Delete;
    s.DeleteText = text;
    return s;
}

TRenameSettings DeleteBytes(TRenameDeleteFrom from, double count, double position = 1)
{
    TRenameSettings s;
    s.Tab = TRenameTab::Delete;
    s.DeleteRule = TRenameDeleteRule::Bytes;
    s.DeleteFrom = from;
    s.DeleteCount = count;
    s.DeletePosition = position;
    return s;
}

TRenameSettings Change(TRenameChangeRule rule, const char* from = "", const char* to = "")
{
    TRenameSettings s;
    s.Tab = TRenameTab::Change;
    s.ChangeRule = rule;
    s.ChangeFrom = from;
    s.ChangeTo = to;
    return s;
}

// Items named r0, r1, ... selected where the picture has an "x".
std::vector<TRenameItem> Items(const std::string& picture)
{
    std::vector<TRenameItem> items;
    for (char c : picture)
        items.push_back({"r" + std::to_string(items.size()), c == 'x'});
    return items;
}

using TB = TRenameAddRule;
using TP = TRenamePlace;
using TF = TRenameDeleteFrom;
using TC = TRenameChangeRule;

} // namespace

TEST(RenamedName, EachRuleOnNamesWithAndWithoutDoubleByteCharacters)
{
    struct Case
    {
        TRenameSettings settings;
        const char* name;
        int position;
        const char* expected; // "" = no change
    } cases[] = {
        {Add(TB::SerialToText, TP::After, 1, 2, "Track"), "x", 1, "Track01"},
        {Add(TB::SerialToText, TP::After, 1, 2, "Track"), "x", 3, "Track03"},
        {Add(TB::SerialToText, TP::Before, 1, 2, "Track"), "x", 2, "02Track"},
        {Add(TB::SerialToName, TP::Before, 9, 3), "Intro", 1, "009Intro"},
        {Add(TB::SerialToName, TP::After, -1, 2), "Intro", 1, "Intro-01"},
        {Add(TB::SerialToName, TP::After, 12, 0), "Intro", 1, "Intro12"},  // general form
        {Add(TB::SerialToName, TP::After, 12, -3), "Intro", 1, "Intro12"}, // no picture
        {Add(TB::SerialToName, TP::After, 12, 1), "Intro", 1, "Intro12"},  // never cut
        {Add(TB::SerialToName, TP::After, 7, 2.6), "Intro", 1, "Intro007"},
        {Add(TB::TextToName, TP::Before, 1, 2, "表_"), "ソ", 1, "表_ソ"},
        {Add(TB::TextToName, TP::After, 1, 2, "_怖"), "ポ", 1, "ポ_怖"},
        {Add(TB::TextToName, TP::After, 1, 2, ""), "Intro", 1, ""}, // equal to the name
        {DeleteText("_"), "a_b_c", 1, "abc"},
        {DeleteText(""), "a_b_c", 1, ""},
        {DeleteText("abc"), "abc", 1, ""}, // an empty name is no change
        {DeleteText("\\"), "ソ\\表", 1, "ソ表"},
        {DeleteText("|"), "ポ怖", 1, ""},
        {DeleteBytes(TF::Last, 4), "abc_1234", 1, "abc_"},
        {DeleteBytes(TF::Last, 9), "abc_1234", 1, ""}, // starts before the name
        {DeleteBytes(TF::First, 2), "abc_1234", 1, "c_1234"},
        {DeleteBytes(TF::First, 2.5), "abc_1234", 1, "c_1234"}, // half to even
        {DeleteBytes(TF::First, 3.5), "abc_1234", 1, "1234"},
        {DeleteBytes(TF::First, 0), "abc_1234", 1, ""},
        {DeleteBytes(TF::Position, 2, 3), "abc_1234", 1, "ab1234"},
        {DeleteBytes(TF::Position, 100, 5), "abc_1234", 1, "abc_"},
        {DeleteBytes(TF::Position, 1, 0), "abc_1234", 1, ""},
        {DeleteBytes(TF::Position, 1, 9), "abc_1234", 1, ""},
        {DeleteBytes(TF::Position, 1, 1e300), "abc_1234", 1, ""},
        {DeleteBytes(TF::First, 1), "表ソab", 1, "ソab"},     // widened at the end
        {DeleteBytes(TF::Last, 3), "abソ表", 1, "ab"},        // widened at the start
        {DeleteBytes(TF::Position, 1, 2), "表x", 1, "x"},     // starts on a trail byte
        {DeleteBytes(TF::Position, 2, 2), "ソ表x", 1, "x"},   // both ends inside
        {DeleteBytes(TF::Position, 2, 2), "aソ表", 1, "a表"}, // whole already
        {Change(TC::Replace, "b", "X"), "ッbb", 1, "ッXX"},   // ッ ends in "b"
        {Change(TC::Replace, "\\", "_"), "ソ\\表", 1, "ソ_表"},
        {Change(TC::Replace, "|", "_"), "ポ|怖", 1, "ポ_怖"},
        {Change(TC::Replace, "", "_"), "abc", 1, ""},
        {Change(TC::Upper), "ヂッabc表", 1, "ヂッABC表"}, // trail bytes "a" and "b"
        {Change(TC::Upper), "ABC", 1, ""},
        {Change(TC::Lower), "アセABC", 1, "アセabc"}, // trail bytes "A" and "Z"
    };
    for (const Case& c : cases)
        EXPECT_EQ(RenamedName(c.settings, c.name, c.position), c.expected)
            << c.name << " at " << c.position;
}

TEST(RenamedName, SerialDigitsStopAtWhatAFileNameHolds)
{
    const AnsiString name = RenamedName(Add(TB::SerialToText, TP::After, 1, 1e9, "t"), "x", 1);
    EXPECT_EQ(name.size(), 1u + kMaxSerialDigits);
    EXPECT_EQ(name.back(), '1');
}

TEST(RenamePreviews, SelectedItemsByRuleOrTheFocusedOneByHand)
{
    TRenameSettings manual;
    manual.Tab = TRenameTab::Input;
    manual.InputText = "Main";
    manual.InputAddText = true;
    manual.InputAddedText = "02 ";
    struct Case
    {
        const char* what;
        TRenameSettings settings;
        std::string picture;
        int focused;
        std::vector<AnsiString> expected;
    } cases[] = {
        {"positions count selected items only",
         Add(TB::SerialToText, TP::After, 1, 2, "T"),
         "x-x",
         -1,
         {"T01", "", "T02"}},
        {"a name kept as it is shows nothing",
         Add(TB::TextToName, TP::After, 1, 2, ""),
         "xxx",
         -1,
         {"", "", ""}},
        {"the focused item by hand", manual, "x--", 1, {"", "02 Main", ""}},
        {"by hand without a focused item", manual, "x--", -1, {"", "", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RenamePreviews(c.settings, Items(c.picture), c.focused), c.expected) << c.what;

    manual.InputPlace = TRenamePlace::After;
    EXPECT_EQ(ManualInputName(manual), "Main02 ");
    manual.InputAddText = false;
    EXPECT_EQ(ManualInputName(manual), "Main");
}

TEST(PlanRenameApply, RenamesInListOrderUntilANameWouldBeTaken)
{
    struct Case
    {
        const char* what;
        std::string picture;
        std::vector<AnsiString> previews;
        std::vector<TRename> renames;
        bool collided;
    } cases[] = {
        {"every selected preview", "xxx", {"a", "", "c"}, {{0, "a"}, {2, "c"}}, false},
        {"names swapped", "xx", {"r1", "r0"}, {{0, "r1"}, {1, "r0"}}, false},
        {"an unselected item's name", "x-", {"r1", ""}, {}, true},
        {"two previews alike", "xx", {"a", "a"}, {}, true},
        {"the earlier ones stay renamed", "xxx", {"a", "r2", ""}, {{0, "a"}}, true},
        {"nothing selected", "---", {"", "", ""}, {}, false},
    };
    for (const Case& c : cases) {
        TRenameApply apply = PlanRenameApply(Items(c.picture), c.previews);
        EXPECT_EQ(apply.Renames, c.renames) << c.what;
        EXPECT_EQ(apply.Collided, c.collided) << c.what;
    }
}

TEST(ManualInput, EnterRenamesAndMovesOnUpAndDownWrap)
{
    const std::vector<AnsiString> names = {"a", "b", "c"};
    struct Case
    {
        int focused;
        const char* preview;
        bool refused, rename;
        int focus;
    } cases[] = {
        {-1, "x", false, false, 0}, {0, "x", false, true, 1}, {2, "x", false, true, 0},
        {1, "a", true, false, 1},   {1, "b", false, true, 2}, {1, "", false, false, 2},
    };
    for (const Case& c : cases) {
        TManualEnterStep step = ManualEnterStep(names, c.focused, c.preview);
        EXPECT_EQ(step.Refused, c.refused) << c.focused << c.preview;
        EXPECT_EQ(step.Rename, c.rename) << c.focused << c.preview;
        EXPECT_EQ(step.Focus, c.focus) << c.focused << c.preview;
    }
    EXPECT_EQ(ManualEnterStep({}, -1, "x").Focus, -1);

    const int moves[][4] = {// count, focused, step, next
                            {3, 0, -1, 2}, {3, 2, 1, 0},   {3, 1, 1, 2},
                            {3, -1, 1, 0}, {3, -1, -1, 2}, {0, -1, 1, -1}};
    for (const auto& m : moves)
        EXPECT_EQ(ManualMoveFocus(m[0], m[1], m[2]), m[3]) << m[0] << " " << m[1] << " " << m[2];
}

TEST(RenameControlsEnabled, FollowTheChosenRules)
{
    TRenameSettings s;
    s.AddRule = TB::SerialToName;
    s.DeleteRule = TRenameDeleteRule::Bytes;
    s.DeleteFrom = TF::Last;
    s.ChangeRule = TC::Upper;
    TRenameControlsEnabled e = RenameControlsEnabled(s);
    EXPECT_EQ(e, (TRenameControlsEnabled{true, true, false, true, false, true, false, true, false,
                                         false, false, false}));
    s.AddRule = TB::TextToName;
    s.DeleteFrom = TF::Position;
    s.InputAddText = true;
    e = RenameControlsEnabled(s);
    EXPECT_FALSE(e.SerialStart || e.SerialDigits);
    EXPECT_TRUE(e.AddText && e.DeletePosition && e.InputAddedText && e.InputPlace);
}

TEST(RenameStringsFrom, LinesBecomeNamesAFileCanTake)
{
    TStringList lines;
    lines.SetText("01 Intro.mp3\r\n   02 Main\t\r\n\r\na.b.c\r\n");
    EXPECT_EQ(RenameStringsFrom(lines), (std::vector<AnsiString>{"01 Intro", "02 Main", "a"}));

    struct Case
    {
        const char* line;
        const char* name; // "" = dropped
    } cases[] = {
        {"01 Intro .mp3", "01 Intro"},
        {"\tTr\tack\t", "Track"},
        {"a\\b.txt", "a_b"},
        {"ソ\\表.wav", "ソ_表"}, // 0x5C after ソ and in 表 stay
        {"ポ|怖", "ポ_怖"},
        {"a.ソ", "a"}, // the extension after a trail byte 0x5C
        {"x\"y*z?", "x_y_z_"},
        {"<a>|b:c/d", "_a__b_c_d"},
        {"a\x01"
         "b",
         "a_b"},
        {".mp3", ""},
        {".a.b", ""},
        {" \t ", ""},
        {"x.1.mp3", "x"},
        // A character cut in two, by the line's end or before a blank, tab,
        // refused or control character, leaves "_", never half a character.
        {"ab\x95", "ab_"},
        {"ab\x95 ", "ab_"},
        {"\x95\tX", "_X"},
        {"\x95:\x95\\", "__表"},
        {"a\x95.b", "a_"},
    };
    for (const Case& c : cases) {
        TStringList one;
        one.Add(c.line);
        std::vector<AnsiString> names = RenameStringsFrom(one);
        EXPECT_EQ(names.empty() ? AnsiString() : names[0], c.name) << c.line;
    }
}

TEST(PlanRenameLoad, TargetsByTypeAndTheNamesKept)
{
    struct Case
    {
        TLoadListType type;
        std::string picture;
        size_t strings;
        std::vector<int> targets;
        std::vector<AnsiString> kept;
    } cases[] = {
        {TLoadListType::FromTop, "--x--", 3, {0, 1, 2}, {"r3", "r4"}},
        {TLoadListType::FromTop, "-----", 7, {0, 1, 2, 3, 4}, {}},
        {TLoadListType::FromFirstSelected, "--x-x", 2, {2, 3}, {"r0", "r1", "r4"}},
        {TLoadListType::FromFirstSelected, "--x--", 5, {2, 3, 4}, {"r0", "r1"}},
        {TLoadListType::FromFirstSelected, "-----", 2, {0, 1}, {"r2", "r3", "r4"}},
        {TLoadListType::SelectedOnly, "-x-x-", 1, {1}, {"r0", "r2", "r3", "r4"}},
        {TLoadListType::SelectedOnly, "-x-x-", 5, {1, 3}, {"r0", "r2", "r4"}},
        {TLoadListType::SelectedOnly, "---", 3, {}, {"r0", "r1", "r2"}},
    };
    for (const Case& c : cases) {
        std::vector<AnsiString> strings;
        for (size_t k = 0; k < c.strings; ++k)
            strings.push_back("s" + std::to_string(k));
        TRenameLoadPlan plan = PlanRenameLoad(c.type, Items(c.picture), strings);
        EXPECT_EQ(plan.Targets, c.targets) << c.picture << " " << c.strings;
        EXPECT_EQ(plan.Strings.size(), c.targets.size()) << c.picture << " " << c.strings;
        EXPECT_EQ(plan.Kept, c.kept) << c.picture << " " << c.strings;
    }
    EXPECT_EQ(LoadListTypeOf(2), TLoadListType::FromFirstSelected);
    EXPECT_EQ(LoadListTypeOf(3), TLoadListType::SelectedOnly);
    EXPECT_EQ(LoadListTypeOf(0), TLoadListType::FromTop);
}

TEST(UniqueRenameStrings, ClashesIgnoringCaseGetTheSmallestFreeNumber)
{
    struct Case
    {
        std::vector<AnsiString> kept, strings;
        std::vector<AnsiString> expected;
        int questions;
    } cases[] = {
        {{}, {"a", "A", "a"}, {"a", "A[1]", "a[2]"}, 1},
        {{}, {"a"}, {"a"}, 0},
        {{"a"}, {"a"}, {"a[1]"}, 1},
        {{"a", "A[1]"}, {"A"}, {"A[2]"}, 1},
        {{}, {"a", "a[1]", "a"}, {"a", "a[1]", "a[2]"}, 1},
        {{}, {"a[1]", "a", "a"}, {"a[1]", "a", "a[2]"}, 1},
        {{}, {"ア", "ヂ"}, {"ア", "ヂ"}, 0}, // trail bytes "A" and "a"
        {{"ソ"}, {"ソ", "ソ"}, {"ソ[1]", "ソ[2]"}, 1},
        {{"x"}, {"y", "z"}, {"y", "z"}, 0},
    };
    for (const Case& c : cases) {
        std::vector<AnsiString> strings = c.strings;
        int questions = 0;
        EXPECT_TRUE(UniqueRenameStrings(c.kept, strings, [&] { return ++questions > 0; }));
        EXPECT_EQ(strings, c.expected) << c.strings[0];
        EXPECT_EQ(questions, c.questions) << c.strings[0];
    }
}

TEST(LoadRenameStrings, ANoLeavesEveryNameAlone)
{
    const std::vector<TRenameItem> items = Items("---");
    TRenameLoad yes =
        LoadRenameStrings(TLoadListType::FromTop, items, {"a", "A", "a"}, [] { return true; });
    EXPECT_FALSE(yes.Refused);
    EXPECT_EQ(yes.Renames, (std::vector<TRename>{{0, "a"}, {1, "A[1]"}, {2, "a[2]"}}));

    TRenameLoad no =
        LoadRenameStrings(TLoadListType::FromTop, items, {"a", "A"}, [] { return false; });
    EXPECT_TRUE(no.Refused);
    EXPECT_TRUE(no.Renames.empty());

    // A kept name clashes with a loaded one.
    TRenameLoad kept =
        LoadRenameStrings(TLoadListType::FromTop, items, {"R2"}, [] { return true; });
    EXPECT_EQ(kept.Renames, (std::vector<TRename>{{0, "R2[1]"}}));
}

TEST(NameCharacters, RefusedOnesGoButTrailBytesStay)
{
    EXPECT_EQ(WithoutRefusedNameChars("a\\b/c:d*e?f\"g<h>i|j"), "abcdefghij");
    EXPECT_EQ(WithoutRefusedNameChars("ソ表ポ怖"), "ソ表ポ怖");

    const AnsiString typed = "aソ\\|表b";
    for (bool enterHeld : {false, true}) {
        TNameKeyFilter filter;
        AnsiString accepted;
        for (char key : typed)
            if (filter.Accept(key, enterHeld))
                accepted += key;
        EXPECT_EQ(accepted, enterHeld ? typed : AnsiString("aソ表b")) << enterHeld;
    }
}
