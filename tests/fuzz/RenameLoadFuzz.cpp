// Fuzz target: loading region names from text, as a text file or the
// clipboard gives it, through the whole load. The first bytes pick the load
// type (byte 0), the number of regions (byte 1, up to 31), which are
// selected (bytes 2 to 5, one bit each), and whether the text is the
// clipboard's (cut at its first NUL) and the numbering question answered Yes
// (byte 6, bits 0 and 1); the rest is the text. The regions are named after
// the text's own lines, so that loaded names clash with kept ones. Besides
// crashes and undefined behaviour it stops when
// - a name loaded is empty, or holds a character that loading replaces
//   (\ / : * ? " < > |, a tab or another control character);
// - a name splits a double-byte character: a lead byte at its end, or one
//   followed by a byte that no double-byte character ends with (below 0x40);
// - the load goes to other items than its type says, or to more items than
//   there are names;
// - a load with Yes leaves two names equal (ASCII letters without case)
//   among the names given and those kept; a load with No changes a name it
//   was handed, or is refused with no clash.
#include "editor/RenameLoad.h"

#include "classlib/AnsiText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>

namespace {

constexpr std::size_t kHead = 7;

void FuzzCheckName(const AnsiString& name)
{
    if (name.empty())
        __builtin_trap();
    for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(name[i])) {
            if (i + 1 >= name.size() || static_cast<unsigned char>(name[i + 1]) < 0x40)
                __builtin_trap();
            continue;
        }
        if (byte < 0x20 || AnsiString("\\/:*?\"<>|").find(name[i]) != AnsiString::npos)
            __builtin_trap();
    }
}

// The items a load of this type may rename, in order.
std::vector<int> FuzzTargetsFor(TLoadListType type, const std::vector<TRenameItem>& items)
{
    std::vector<int> targets;
    const auto firstSelected =
        std::find_if(items.begin(), items.end(), [](const TRenameItem& i) { return i.Selected; });
    for (int k = 0; k < static_cast<int>(items.size()); ++k) {
        const bool takes =
            type == TLoadListType::SelectedOnly ? items[k].Selected
            : type == TLoadListType::FromFirstSelected && firstSelected != items.end()
                ? k >= firstSelected - items.begin()
                : true;
        if (takes)
            targets.push_back(k);
    }
    return targets;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kHead)
        return 0;
    const TLoadListType type = LoadListTypeOf(data[0] % 4);
    const bool clipboard = data[6] & 1;
    const bool yes = data[6] & 2;
    AnsiString text(reinterpret_cast<const char*>(data + kHead), size - kHead);
    if (clipboard)
        text = text.c_str();
    const std::vector<AnsiString> lines = SplitLines(text);

    std::vector<TRenameItem> items(data[1] % 32);
    for (std::size_t k = 0; k < items.size(); ++k) {
        items[k].Name = k < lines.size() ? lines[k] : "r" + std::to_string(k);
        items[k].Selected = (data[2 + k / 8] >> (k % 8)) & 1;
    }

    const std::vector<AnsiString> strings = RenameStringsFrom(lines);
    for (const AnsiString& name : strings)
        FuzzCheckName(name);
    if (items.empty() || strings.empty())
        return 0; // the window loads nothing then

    bool asked = false;
    const TRenameLoad load = LoadRenameStrings(type, items, strings, [&] {
        asked = true;
        return yes;
    });
    if (load.Refused != (asked && !yes) || (load.Refused && !load.Renames.empty()))
        __builtin_trap();
    if (load.Refused)
        return 0;

    std::vector<int> targets = FuzzTargetsFor(type, items);
    targets.resize(std::min(targets.size(), strings.size()));
    if (load.Renames.size() != targets.size())
        __builtin_trap();
    std::unordered_set<AnsiString> taken;
    for (std::size_t k = 0; k < load.Renames.size(); ++k) {
        const TRename& rename = load.Renames[k];
        FuzzCheckName(rename.Name);
        if (rename.Index != targets[k] || (!asked && rename.Name != strings[k]) ||
            !taken.insert(UpperCase(rename.Name)).second)
            __builtin_trap();
    }
    for (int k = 0; k < static_cast<int>(items.size()); ++k)
        if (std::find(targets.begin(), targets.end(), k) == targets.end() &&
            std::any_of(load.Renames.begin(), load.Renames.end(),
                        [&](const TRename& r) { return SameText(r.Name, items[k].Name); }))
            __builtin_trap();
    return 0;
}
