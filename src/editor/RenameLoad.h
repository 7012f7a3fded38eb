// Loading region names from lines of text (a text file or the clipboard),
// and the characters a region name may not hold: which items the names go
// to, the numbering of names that would clash, and the filters of the name
// edits. No windows here, and nothing of the platform: the main window
// splits the text into lines, asks its questions and renames the items;
// this unit also builds natively for fuzzing.
//
//   TRenameItem, TRename    a row of the region list; one name to give
//   TLoadListType           how loaded names go to the list
//   RenameStringsFrom       names from lines of text
//   PlanRenameLoad,         which items the loaded names go to, and the
//   UniqueRenameStrings     numbering of names that would clash
//   LoadRenameStrings       the whole load after the choice of type
//   RefusedNameChar, TNameKeyFilter, WithoutRefusedNameChars
//                           the characters a region name may not hold
//
// Names are ANSI text of code page 932, walked by whole characters: a trail
// byte may be "\", "|" or an ASCII letter (ソ, 表, ア) and is never
// replaced or cased on its own.
#pragma once

#include "classlib/StringTypes.h"

#include <functional>
#include <vector>

// One row of the region list as renaming sees it.
struct TRenameItem
{
    AnsiString Name; // the caption
    bool Selected = false;
};

// One name to give: item Index (in list order) becomes Name.
struct TRename
{
    int Index = 0;
    AnsiString Name;

    bool operator==(const TRename&) const = default;
};

// --- Loading names

// How loaded names go to the list: the LOADLIST TYPE setting.
enum class TLoadListType
{
    FromTop = 1,           // from the first item on
    FromFirstSelected = 2, // from the first selected item on (the top without one)
    SelectedOnly = 3       // to the selected items (none without a selection)
};
// The type of a stored value: 2 and 3 as they are, anything else FromTop.
TLoadListType LoadListTypeOf(int stored);

// The names in lines of text: what is left of a character cut in two
// replaced by "_" (ReplaceCutCharacters), tabs removed, blanks trimmed, the
// extension removed, every character a name may not hold (the refused
// characters below and control characters) replaced by "_", and once more
// trimmed and the extension removed (so "a.b.c" gives "a"); lines that end
// up empty are dropped.
std::vector<AnsiString> RenameStringsFrom(const std::vector<AnsiString>& lines);

struct TRenameLoadPlan
{
    std::vector<int> Targets;        // items to rename, in order
    std::vector<AnsiString> Strings; // their names, one per target
    std::vector<AnsiString> Kept;    // the names of every other item
};
// Which items the names go to: surplus names are dropped from the end.
TRenameLoadPlan PlanRenameLoad(TLoadListType type, const std::vector<TRenameItem>& items,
                               std::vector<AnsiString> strings);

// Numbers the strings that equal a kept name or an earlier string (ASCII
// letters compared ignoring case): "A" after "a" becomes "A[1]", with the
// smallest number that clashes with nothing. askNumbering is called before
// the first change (the numbering question); false refuses the load,
// leaving strings as they were. True when the strings are accepted.
bool UniqueRenameStrings(const std::vector<AnsiString>& kept, std::vector<AnsiString>& strings,
                         const std::function<bool()>& askNumbering);

// The whole load after the choice of type: the renames to make, or none
// with Refused set when askNumbering declined (the load is abandoned).
struct TRenameLoad
{
    std::vector<TRename> Renames;
    bool Refused = false;
};
TRenameLoad LoadRenameStrings(TLoadListType type, const std::vector<TRenameItem>& items,
                              std::vector<AnsiString> strings,
                              const std::function<bool()>& askNumbering);

// --- Characters a name may not hold

// \ / : * ? " < > | as a character of its own (not as a trail byte).
bool RefusedNameChar(char c);
// text without those characters (pasted into a name edit).
AnsiString WithoutRefusedNameChars(const AnsiString& text);

// Decides on the bytes typed into a name edit one by one: a refused
// character is dropped unless Enter is held; the second byte of a
// double-byte character always passes.
class TNameKeyFilter
{
public:
    bool Accept(char key, bool enterHeld);

private:
    bool FAfterLeadByte = false; // the previous byte began a double-byte character
};
