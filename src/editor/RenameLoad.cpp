#include "RenameLoad.h"

#include "classlib/FileNames.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr const char* kRefusedNameChars = "\\/:*?\"<>|";

// The refused characters and the control characters.
const AnsiString& RenameNotInName()
{
    static const AnsiString chars = [] {
        AnsiString set = kRefusedNameChars;
        for (char c = 0; c < ' '; ++c)
            set += c;
        return set;
    }();
    return chars;
}

AnsiString RenameWithoutExtension(const AnsiString& text)
{
    return ChangeFileExt(Trim(ReplaceSingleByteChars(text, "\t", "")), "");
}

// One loaded line as a name: cleaned, made safe, and cleaned once more, so
// that the name checked for clashes is the name given. What is left of a
// character cut in two (a line of a text file may end inside one) goes
// first, so that no step takes a tab, a blank or a refused character for
// the second half of a character.
AnsiString RenameLoadedName(const AnsiString& line)
{
    const AnsiString whole = ReplaceCutCharacters(line, "_");
    return RenameWithoutExtension(
        ReplaceSingleByteChars(RenameWithoutExtension(whole), RenameNotInName(), "_"));
}

std::vector<int> RenameLoadTargets(TLoadListType type, const std::vector<TRenameItem>& items,
                                   size_t stringCount)
{
    std::vector<int> targets;
    const int count = static_cast<int>(items.size());
    if (type == TLoadListType::SelectedOnly) {
        for (int k = 0; k < count && targets.size() < stringCount; ++k)
            if (items[k].Selected)
                targets.push_back(k);
        return targets;
    }
    int first = 0;
    if (type == TLoadListType::FromFirstSelected) {
        auto selected = std::find_if(items.begin(), items.end(),
                                     [](const TRenameItem& item) { return item.Selected; });
        if (selected != items.end())
            first = static_cast<int>(selected - items.begin());
    }
    for (int k = first; k < count && targets.size() < stringCount; ++k)
        targets.push_back(k);
    return targets;
}

} // namespace

TLoadListType LoadListTypeOf(int stored)
{
    switch (stored) {
    case 2:
        return TLoadListType::FromFirstSelected;
    case 3:
        return TLoadListType::SelectedOnly;
    default:
        return TLoadListType::FromTop;
    }
}

std::vector<AnsiString> RenameStringsFrom(const std::vector<AnsiString>& lines)
{
    std::vector<AnsiString> names;
    for (const AnsiString& line : lines) {
        AnsiString name = RenameLoadedName(line);
        if (!name.empty())
            names.push_back(name);
    }
    return names;
}

TRenameLoadPlan PlanRenameLoad(TLoadListType type, const std::vector<TRenameItem>& items,
                               std::vector<AnsiString> strings)
{
    TRenameLoadPlan plan;
    plan.Targets = RenameLoadTargets(type, items, strings.size());
    strings.resize(plan.Targets.size());
    plan.Strings = std::move(strings);
    size_t next = 0; // the next target, in list order
    for (size_t k = 0; k < items.size(); ++k) {
        if (next < plan.Targets.size() && plan.Targets[next] == static_cast<int>(k))
            ++next;
        else
            plan.Kept.push_back(items[k].Name);
    }
    return plan;
}

bool UniqueRenameStrings(const std::vector<AnsiString>& kept, std::vector<AnsiString>& strings,
                         const std::function<bool()>& askNumbering)
{
    // Names equal ignoring the case of ASCII letters have one upper-case key.
    std::unordered_set<AnsiString> taken;
    for (const AnsiString& name : kept)
        taken.insert(UpperCase(name));
    // Names are only ever added, so the smallest free number of a name
    // never goes down: the search for the next one starts where it ended.
    std::unordered_map<AnsiString, int> nextNumber;
    std::vector<AnsiString> numbered = strings;
    bool asked = false;
    for (AnsiString& name : numbered) {
        AnsiString key = UpperCase(name);
        if (taken.count(key)) {
            if (!asked && !(askNumbering && askNumbering()))
                return false;
            asked = true;
            int& n = nextNumber.try_emplace(key, 1).first->second;
            auto candidate = [&] { return name + "[" + std::to_string(n) + "]"; };
            while (taken.count(UpperCase(candidate())))
                ++n;
            name = candidate();
            key = UpperCase(name);
        }
        taken.insert(key);
    }
    strings = std::move(numbered);
    return true;
}

TRenameLoad LoadRenameStrings(TLoadListType type, const std::vector<TRenameItem>& items,
                              std::vector<AnsiString> strings,
                              const std::function<bool()>& askNumbering)
{
    TRenameLoadPlan plan = PlanRenameLoad(type, items, std::move(strings));
    TRenameLoad load;
    if (!UniqueRenameStrings(plan.Kept, plan.Strings, askNumbering)) {
        load.Refused = true;
        return load;
    }
    for (size_t k = 0; k < plan.Targets.size(); ++k)
        load.Renames.push_back({plan.Targets[k], plan.Strings[k]});
    return load;
}

bool RefusedNameChar(char c)
{
    return c != '\0' && AnsiString(kRefusedNameChars).find(c) != AnsiString::npos;
}

AnsiString WithoutRefusedNameChars(const AnsiString& text)
{
    return ReplaceSingleByteChars(text, kRefusedNameChars, "");
}

bool TNameKeyFilter::Accept(char key, bool enterHeld)
{
    if (FAfterLeadByte) {
        FAfterLeadByte = false;
        return true;
    }
    if (IsLeadByte(key)) {
        FAfterLeadByte = true;
        return true;
    }
    return enterHeld || !RefusedNameChar(key);
}
