#include "RenameRules.h"

#include "classlib/TextUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace {

// A number edit's value as a whole number; far-off values are held within
// reach so that position arithmetic cannot overflow.
std::int64_t RenameRounded(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<std::int64_t>(std::nearbyint(std::clamp(value, -1e15, 1e15)));
}

AnsiString RenameSerial(const TRenameSettings& settings, int position)
{
    const auto digits =
        std::clamp<std::int64_t>(RenameRounded(settings.SerialDigits), 0, kMaxSerialDigits);
    // An empty picture writes the number in its general form.
    return FormatFloat(AnsiString(static_cast<size_t>(digits), '0'),
                       settings.SerialStart + position - 1);
}

AnsiString RenameBeforeOrAfter(TRenamePlace place, const AnsiString& added, const AnsiString& text)
{
    return place == TRenamePlace::Before ? added + text : text + added;
}

AnsiString RenameAdd(const TRenameSettings& settings, const AnsiString& name, int position)
{
    switch (settings.AddRule) {
    case TRenameAddRule::SerialToName:
        return RenameBeforeOrAfter(settings.AddPlace, RenameSerial(settings, position), name);
    case TRenameAddRule::SerialToText:
        return RenameBeforeOrAfter(settings.AddPlace, RenameSerial(settings, position),
                                   settings.AddText);
    case TRenameAddRule::TextToName:
        return RenameBeforeOrAfter(settings.AddPlace, settings.AddText, name);
    }
    return name;
}

// Deletes count bytes from the 1-based byte position start, as far as the
// name reaches; nothing when start lies outside the name. A cut that would
// begin on a second byte or end after a first byte takes the whole character.
AnsiString RenameDeleteBytes(const AnsiString& name, std::int64_t start, std::int64_t count)
{
    const auto length = static_cast<std::int64_t>(name.size());
    if (start < 1 || start > length || count <= 0)
        return name;
    size_t begin = static_cast<size_t>(start - 1);
    size_t end = static_cast<size_t>(std::min(length, start - 1 + count));
    if (ByteType(name, begin) == mbTrailByte)
        --begin;
    if (end < name.size() && ByteType(name, end) == mbTrailByte)
        ++end;
    return name.substr(0, begin) + name.substr(end);
}

AnsiString RenameDelete(const TRenameSettings& settings, const AnsiString& name)
{
    if (settings.DeleteRule == TRenameDeleteRule::Text)
        return StringReplace(name, settings.DeleteText, "", rfReplaceAll);
    const std::int64_t count = RenameRounded(settings.DeleteCount);
    switch (settings.DeleteFrom) {
    case TRenameDeleteFrom::First:
        return RenameDeleteBytes(name, 1, count);
    case TRenameDeleteFrom::Last:
        return RenameDeleteBytes(name, static_cast<std::int64_t>(name.size()) - count + 1, count);
    case TRenameDeleteFrom::Position:
        return RenameDeleteBytes(name, RenameRounded(settings.DeletePosition), count);
    }
    return name;
}

AnsiString RenameChange(const TRenameSettings& settings, const AnsiString& name)
{
    switch (settings.ChangeRule) {
    case TRenameChangeRule::Replace:
        return StringReplace(name, settings.ChangeFrom, settings.ChangeTo, rfReplaceAll);
    case TRenameChangeRule::Upper:
        return UpperCase(name);
    case TRenameChangeRule::Lower:
        return LowerCase(name);
    }
    return name;
}

AnsiString RenameByRule(const TRenameSettings& settings, const AnsiString& name, int position)
{
    switch (settings.Tab) {
    case TRenameTab::Add:
        return RenameAdd(settings, name, position);
    case TRenameTab::Delete:
        return RenameDelete(settings, name);
    case TRenameTab::Change:
        return RenameChange(settings, name);
    case TRenameTab::Input:
        break;
    }
    return name;
}

} // namespace

AnsiString RenamedName(const TRenameSettings& settings, const AnsiString& name, int position)
{
    AnsiString result = RenameByRule(settings, name, position);
    return result == name ? AnsiString() : result;
}

AnsiString ManualInputName(const TRenameSettings& settings)
{
    if (!settings.InputAddText)
        return settings.InputText;
    return RenameBeforeOrAfter(settings.InputPlace, settings.InputAddedText, settings.InputText);
}

std::vector<AnsiString> RenamePreviews(const TRenameSettings& settings,
                                       const std::vector<TRenameItem>& items, int focused)
{
    std::vector<AnsiString> previews(items.size());
    if (settings.Tab == TRenameTab::Input && focused >= 0 &&
        focused < static_cast<int>(items.size())) {
        previews[focused] = ManualInputName(settings);
        return previews;
    }
    int position = 0;
    for (size_t k = 0; k < items.size(); ++k)
        if (items[k].Selected)
            previews[k] = RenamedName(settings, items[k].Name, ++position);
    return previews;
}

TRenameApply PlanRenameApply(const std::vector<TRenameItem>& items,
                             const std::vector<AnsiString>& previews)
{
    auto previewOf = [&](size_t k) { return k < previews.size() ? previews[k] : AnsiString(); };
    std::unordered_map<AnsiString, int> resulting; // resulting name -> items that would bear it
    for (size_t k = 0; k < items.size(); ++k) {
        AnsiString preview = previewOf(k);
        ++resulting[preview.empty() ? items[k].Name : preview];
    }
    TRenameApply apply;
    for (size_t k = 0; k < items.size(); ++k) {
        AnsiString preview = previewOf(k);
        if (!items[k].Selected || preview.empty())
            continue;
        // The item bears its own preview, so one more means another item.
        if (resulting[preview] > 1) {
            apply.Collided = true;
            break;
        }
        apply.Renames.push_back({static_cast<int>(k), preview});
    }
    return apply;
}

TManualEnterStep ManualEnterStep(const std::vector<AnsiString>& names, int focused,
                                 const AnsiString& preview)
{
    TManualEnterStep step;
    const int count = static_cast<int>(names.size());
    if (count == 0)
        return step;
    if (focused < 0 || focused >= count) {
        step.Focus = 0;
        return step;
    }
    if (!preview.empty()) {
        for (int k = 0; k < count; ++k)
            if (k != focused && names[k] == preview) {
                step.Refused = true;
                step.Focus = focused;
                return step;
            }
        step.Rename = true;
    }
    step.Focus = (focused + 1) % count;
    return step;
}

int ManualMoveFocus(int count, int focused, int step)
{
    if (count <= 0)
        return -1;
    if (focused < 0 || focused >= count)
        return step > 0 ? 0 : count - 1;
    return ((focused + step) % count + count) % count;
}

TRenameControlsEnabled RenameControlsEnabled(const TRenameSettings& settings)
{
    const bool bytes = settings.DeleteRule == TRenameDeleteRule::Bytes;
    const bool replace = settings.ChangeRule == TRenameChangeRule::Replace;
    TRenameControlsEnabled enabled{};
    enabled.SerialStart = enabled.SerialDigits = settings.AddRule != TRenameAddRule::TextToName;
    enabled.AddText = settings.AddRule != TRenameAddRule::SerialToName;
    enabled.AddPlace = true;
    enabled.DeleteText = !bytes;
    enabled.DeleteFrom = enabled.DeleteCount = bytes;
    enabled.DeletePosition = bytes && settings.DeleteFrom == TRenameDeleteFrom::Position;
    enabled.ChangeFrom = enabled.ChangeTo = replace;
    enabled.InputAddedText = enabled.InputPlace = settings.InputAddText;
    return enabled;
}

std::vector<AnsiString> RenameStringsFrom(const TStrings& lines)
{
    std::vector<AnsiString> texts;
    for (int i = 0; i < lines.Count(); ++i)
        texts.push_back(lines.Strings(i));
    return RenameStringsFrom(texts);
}
