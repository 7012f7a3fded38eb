// Renaming regions by rule, by hand and from a list of names: what each rule
// of the rename pane makes of a name, the preview column, what applying it
// changes, the manual input's steps, and loading names from lines of text.
// No windows here: the pane gathers its controls into TRenameSettings and
// the list into TRenameItem entries, calls these and applies the answer.
//
//   TRenameSettings         the pane's controls: tab, rule of each tab,
//                           texts, number edits, combo choices, check box
//   RenamedName             one name under the settings ("" = no change)
//   RenamePreviews          the preview column of the whole list
//   PlanRenameApply         the renames the apply buttons make, in order
//   ManualEnterStep,        Enter, Up and Down in the manual input
//   ManualMoveFocus
//   RenameControlsEnabled   which of the pane's controls the rules use
//   RenameStringsFrom       names from the lines of a string list
// Loading names and the characters a name may not hold are RenameLoad's.
//
// Names are ANSI text of code page 932. Byte counts, searches and case
// changes walk whole characters: a trail byte may be "\", "|" or an ASCII
// letter (ソ, 表, ア), and is never cut off, matched, replaced or cased
// on its own.
#pragma once

#include "FocusRules.h"
#include "RenameLoad.h"

#include "classlib/StringList.h"
#include "classlib/Types.h"

#include <functional>
#include <vector>

namespace RenameText {
// Status messages, red for 3000 ms.
inline constexpr const char* ApplyCollision = "同じ名前のリージョンがすでに存在しています";
inline constexpr const char* ManualCollision = "すでに同じ名前のリージョンがあります";
inline constexpr const char* LoadAbandoned = "リネーム文字列の読み込みを中止しました";
// Asked once per load before clashing names are numbered (Yes/No).
inline constexpr const char* NumberingQuestion =
    "重複した文字列があります\r自動的にナンバーを振ってもよいですか？";
inline constexpr const char* NumberingQuestionCaption = "文字列の重複";
} // namespace RenameText

// The pane's tabs, by page index, are TRenameTab (FocusRules).

// The rules keep the numbers stored for them (RENAME ADD_CHECK, DEL_CHECK,
// CHANGE_CHECK).
enum class TRenameAddRule
{
    SerialToName = 1, // rnAdd1: a serial number before or after the name
    SerialToText = 2, // rnAdd2: the name becomes the text with a serial number
    TextToName = 3    // rnAdd3: the text before or after the name
};
enum class TRenameDeleteRule
{
    Text = 1, // rnDel1: every occurrence of a text
    Bytes = 2 // rnDel2: a count of bytes from a place
};
enum class TRenameChangeRule
{
    Replace = 1, // rnChange1: every occurrence of a text by another
    Upper = 2,   // rnChange2: ASCII letters to upper case
    Lower = 3    // rnChange3: ASCII letters to lower case
};

// Combo box choices, by item index.
enum class TRenamePlace
{
    Before = 0, // "前方"
    After = 1   // "後方"
};
enum class TRenameDeleteFrom
{
    First = 0,   // "先頭文字から"
    Last = 1,    // "末尾文字から": the last bytes of the name
    Position = 2 // "指定文字位置から"
};

struct TRenameSettings
{
    TRenameTab Tab = TRenameTab::Add;
    // "追加"
    TRenameAddRule AddRule = TRenameAddRule::SerialToText;
    double SerialStart = 1;                      // rSp1, the number of the first selected region
    double SerialDigits = 2;                     // rSp2, rounded; 0 writes the number as it is
    AnsiString AddText;                          // rEd1
    TRenamePlace AddPlace = TRenamePlace::After; // rCb1
    // "削除"
    TRenameDeleteRule DeleteRule = TRenameDeleteRule::Text;
    AnsiString DeleteText;                                   // rEd2
    TRenameDeleteFrom DeleteFrom = TRenameDeleteFrom::First; // rCb2
    double DeletePosition = 1;                               // rSp3, 1-based byte position, rounded
    double DeleteCount = 1;                                  // rSp4, bytes, rounded
    // "変換"
    TRenameChangeRule ChangeRule = TRenameChangeRule::Replace;
    AnsiString ChangeFrom; // rEd3
    AnsiString ChangeTo;   // rEd4
    // "連続入力"
    AnsiString InputText;                           // rEd5, the name being typed
    bool InputAddText = false;                      // rCk1
    AnsiString InputAddedText;                      // rEd6
    TRenamePlace InputPlace = TRenamePlace::Before; // rCb3
};

// More serial digits than a file name can hold count as this many.
constexpr int kMaxSerialDigits = 255;

// The name that the rule of the settings' tab makes of name, the region at
// position (1-based) among the selected regions; "" when the result is the
// name itself or empty (no change), and always on the manual-input tab.
// Byte counts that would cut a double-byte character in two take the whole
// character.
AnsiString RenamedName(const TRenameSettings& settings, const AnsiString& name, int position);

// The manual input's name: rEd5, with rEd6 added before or after it while
// rCk1 is on.
AnsiString ManualInputName(const TRenameSettings& settings);

// The preview column, one entry per item in list order ("" = no change).
// On the manual-input tab with a focused item (focused >= 0), that item
// shows the manual input's name and every other item nothing; otherwise the
// selected items show RenamedName with positions 1, 2, ... and the others
// nothing.
std::vector<AnsiString> RenamePreviews(const TRenameSettings& settings,
                                       const std::vector<TRenameItem>& items, int focused);

struct TRenameApply
{
    std::vector<TRename> Renames; // to make in this order
    bool Collided = false;        // stopped: show RenameText::ApplyCollision
};

// What the apply buttons do with the preview column (previews[k] for item k):
// each selected item with a preview takes it, in list order, until one whose
// preview equals the resulting name of another item (its preview, else its
// caption); that one and those after it keep their names.
TRenameApply PlanRenameApply(const std::vector<TRenameItem>& items,
                             const std::vector<AnsiString>& previews);

// Enter in the manual input, with names the captions in list order.
struct TManualEnterStep
{
    bool Refused = false; // the preview is another item's caption: show
                          // RenameText::ManualCollision, nothing moves
    bool Rename = false;  // the focused item takes its preview
    int Focus = -1;       // the item focused after the key (-1: none)
};
TManualEnterStep ManualEnterStep(const std::vector<AnsiString>& names, int focused,
                                 const AnsiString& preview);

// Up (step -1) and Down (step +1) in the manual input: the item focused
// next, wrapping at either end; from no focused item Down goes to the first
// and Up to the last. -1 for an empty list.
int ManualMoveFocus(int count, int focused, int step);

// Whether each of the pane's edits and combo boxes is enabled under the
// settings' rules (their labels follow them).
struct TRenameControlsEnabled
{
    bool SerialStart, SerialDigits, AddText, AddPlace;        // rSp1, rSp2, rEd1, rCb1
    bool DeleteText, DeleteFrom, DeletePosition, DeleteCount; // rEd2, rCb2, rSp3, rSp4
    bool ChangeFrom, ChangeTo;                                // rEd3, rEd4
    bool InputAddedText, InputPlace;                          // rEd6, rCb3

    bool operator==(const TRenameControlsEnabled&) const = default;
};
TRenameControlsEnabled RenameControlsEnabled(const TRenameSettings& settings);

// RenameStringsFrom (RenameLoad) over the lines of a string list.
std::vector<AnsiString> RenameStringsFrom(const TStrings& lines);
