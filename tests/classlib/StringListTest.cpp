#include "classlib/Exceptions.h"
#include "classlib/StringList.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

using testing_support::TempFolder;

namespace {

std::vector<AnsiString> Items(const TStrings& list)
{
    std::vector<AnsiString> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Strings(i));
    return items;
}

using Lines = std::vector<AnsiString>;

TEST(StringListTest, SortedListsApplyTheirDuplicatesRule)
{
    struct Case
    {
        bool caseSensitive;
        TDuplicates duplicates;
        Lines expected;
        bool raises;
    };
    const Case cases[] = {
        {false, dupIgnore, {"A", "b"}, false},
        {false, dupAccept, {"A", "a", "b", "B"}, false}, // equal ones keep their order
        {false, dupError, {"A", "b"}, true},
        {true, dupIgnore, {"A", "B", "a", "b"}, false},
        {true, dupError, {"A", "B", "a", "b"}, false},
    };
    for (const Case& c : cases) {
        TStringList list;
        list.SetSorted(true);
        list.SetCaseSensitive(c.caseSensitive);
        list.SetDuplicates(c.duplicates);
        bool raised = false;
        for (const char* s : {"b", "A", "a", "B"}) {
            try {
                list.Add(s);
            } catch (const EStringListError&) {
                raised = true;
            }
        }
        EXPECT_EQ(Items(list), c.expected) << c.caseSensitive << " " << c.duplicates;
        EXPECT_EQ(raised, c.raises);
    }
}

TEST(StringListTest, AddOnASortedListReturnsThePlace)
{
    TStringList list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add("000000000500"), 0);
    EXPECT_EQ(list.Add("000000000100"), 0);
    EXPECT_EQ(list.Add("000000000900"), 2);
    EXPECT_EQ(list.Add("000000000500"), 1); // dupIgnore: the index of the one present
    int index = -1;
    EXPECT_FALSE(list.Find("000000000600", index));
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(list.Find("000000000900", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.IndexOf("000000000100"), 0);
    EXPECT_EQ(list.IndexOf("7"), -1);

    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
    EXPECT_THROW(list.SetStrings(0, "x"), EStringListError);
    EXPECT_THROW(list.Exchange(0, 1), EStringListError);
    EXPECT_THROW(list.Move(0, 1), EStringListError);
    EXPECT_EQ(list.Count(), 3); // nothing lost by the refused move
}

TEST(StringListTest, SortingIsStableAndFollowsCaseSensitivity)
{
    TStringList list;
    TObject tags[4];
    for (const char* s : {"b", "B", "a", "A"})
        list.AddObject(s, &tags[list.Count()]);
    list.Sort();
    EXPECT_EQ(Items(list), (Lines{"a", "A", "b", "B"}));
    EXPECT_EQ(list.Objects(0), &tags[2]); // objects travel with their strings
    list.SetCaseSensitive(true);
    list.SetSorted(true);
    EXPECT_EQ(Items(list), (Lines{"A", "B", "a", "b"}));
    EXPECT_EQ(list.Objects(0), &tags[3]);

    TStringList byLength;
    byLength.SetText("ccc\r\na\r\nbb\r\nd\r\n");
    byLength.CustomSort([](TStringList* l, int i, int j) {
        return int(l->Strings(j).size()) - int(l->Strings(i).size());
    });
    EXPECT_EQ(Items(byLength), (Lines{"ccc", "bb", "a", "d"}));
}

TEST(StringListTest, EditingKeepsObjectsWithTheirStrings)
{
    TStringList list;
    TObject x, y, z;
    list.AddObject("x", &x);
    list.AddObject("y", &y);
    list.InsertObject(0, "z", &z);
    EXPECT_EQ(Items(list), (Lines{"z", "x", "y"}));
    list.Move(0, 2);
    EXPECT_EQ(Items(list), (Lines{"x", "y", "z"}));
    EXPECT_EQ(list.Objects(2), &z);
    list.Move(2, 0);
    EXPECT_EQ(Items(list), (Lines{"z", "x", "y"}));
    list.Exchange(0, 2);
    EXPECT_EQ(list.Objects(0), &y);
    EXPECT_EQ(list.IndexOfObject(&z), 2);
    list.Delete(1);
    EXPECT_EQ(Items(list), (Lines{"y", "z"}));
    EXPECT_EQ(list.IndexOf("Z"), 1); // not case-sensitive by default
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("Z"), -1);

    EXPECT_THROW(list.Strings(2), EStringListError);
    EXPECT_THROW(list.Delete(-1), EStringListError);
    EXPECT_THROW(list.Insert(3, "far"), EStringListError);
    list.Insert(2, "end"); // at Count is allowed
    EXPECT_EQ(list.Strings(2), "end");

    TStringList copy;
    copy.Add("old");
    copy.Assign(&list);
    EXPECT_EQ(Items(copy), Items(list));
    EXPECT_EQ(copy.Objects(1), &z);
    EXPECT_TRUE(copy.Equals(&list));
}

TEST(StringListTest, TextSplitsAtAnyLineBreakAndJoinsWithCrLf)
{
    struct Case
    {
        AnsiString text;
        Lines lines;
    };
    const Case cases[] = {
        {"a\r\nb\rc\nd\r\n\r\ne", {"a", "b", "c", "d", "", "e"}},
        {"a\n", {"a"}},
        {"a\r", {"a"}},
        {"\r\n", {""}},
        {"\n\n", {"", ""}},
        {"", {}},
        {"ソ\r\n表=能", {"ソ", "表=能"}},
        {"\n\r", {"", ""}}, // LF then CR: two breaks
    };
    for (const Case& c : cases) {
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Items(list), c.lines) << c.text;
    }
    TStringList list;
    list.SetText("a\nb");
    EXPECT_EQ(list.Text(), "a\r\nb\r\n");
}

TEST(StringListTest, CommaTextRoundTrips)
{
    TStringList list;
    for (const char* s : {"a", "b c", "", "x,y", "q\"q", "ソ", "表 "})
        list.Add(s);
    EXPECT_EQ(list.CommaText(), "a,\"b c\",\"\",\"x,y\",\"q\"\"q\",ソ,\"表 \"");
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(Items(back), Items(list));

    back.SetCommaText("one,,\"two\"x,three,");
    EXPECT_EQ(Items(back), (Lines{"one", "", "two", "three", ""}));
    back.SetCommaText("");
    EXPECT_EQ(back.Count(), 0);
}

TEST(StringListTest, NamesAndValues)
{
    TStringList list;
    list.SetText("A=1\r\nb=2=3\r\nplain\r\n=empty\r\n");
    EXPECT_EQ(list.Values("a"), "1");
    EXPECT_EQ(list.Values("B"), "2=3");
    EXPECT_EQ(list.Values("plain"), "");
    EXPECT_EQ(list.Names(1), "b");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.ValueFromIndex(3), "empty");
    EXPECT_EQ(list.IndexOfName(""), 3);

    list.SetValues("B", "9");
    EXPECT_EQ(list.Strings(1), "B=9");
    list.SetValues("new", "v");
    EXPECT_EQ(list.Strings(4), "new=v");
    list.SetValues("a", "");
    EXPECT_EQ(Items(list), (Lines{"B=9", "plain", "=empty", "new=v"}));
    list.SetValues("absent", "");
    EXPECT_EQ(list.Count(), 4);
}

TEST(StringListTest, FilesHoldRawBytes)
{
    TempFolder tmp;
    tmp.WriteFile("in.txt", "ソ\r\n表\n\x81\x40x");
    TStringList list;
    list.LoadFromFile(tmp / "in.txt");
    EXPECT_EQ(Items(list), (Lines{"ソ", "表", "\x81\x40x"}));
    list.SaveToFile(tmp / "out.txt");
    EXPECT_EQ(tmp.ReadFile("out.txt"), "ソ\r\n表\r\n\x81\x40x\r\n");
    EXPECT_THROW(list.LoadFromFile(tmp / "missing.txt"), EFOpenError);
    EXPECT_THROW(list.SaveToFile(tmp / "no\\dir.txt"), EFCreateError);
    EXPECT_EQ(list.Count(), 3);
}

TEST(StringListTest, ChangeEventsFireOncePerUpdateBracket)
{
    TStringList list;
    std::vector<AnsiString> log;
    list.OnChanging = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        log.push_back("changing " + std::to_string(list.Count()));
    };
    list.OnChange = [&](TObject*) { log.push_back("change " + std::to_string(list.Count())); };

    list.Add("a");
    EXPECT_EQ(log, (Lines{"changing 0", "change 1"}));
    log.clear();

    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("b");
    list.Add("c");
    list.EndUpdate();
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(log, (Lines{"changing 1", "change 2"}));
    log.clear();

    list.SetText("x\r\ny\r\nz"); // one bracket of its own
    EXPECT_EQ(log, (Lines{"changing 2", "change 3"}));
    log.clear();
    list.Clear();
    list.Clear(); // nothing to clear: silent
    EXPECT_EQ(log, (Lines{"changing 3", "change 0"}));

    // A refused line inside a bracket ends the bracket all the same.
    list.SetSorted(true);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.SetText("a\r\nb\r\na\r\n"), EStringListError);
    EXPECT_EQ(list.UpdateCount(), 0);
    log.clear();
    list.Add("c");
    EXPECT_EQ(log, (Lines{"changing 2", "change 3"}));
}

} // namespace
