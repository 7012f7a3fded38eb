#include "PreferenceRules.h"

#include "editor/CommandShortCuts.h"

#include <algorithm>

namespace {

const TColorPreset kPresets[kColorPresetCount] = {
    {"ノーマル",
     {0x008000, 0xFFFFFF, 0x00FFFF, 0x808000, 0x0099FF, 0x0000FF, 0x808080, 0x0051F9, 0xFF0000,
      0x000080}},
    {"モノクロ1",
     {0x000000, 0xFFFFFF, 0xF9F9F9, 0x020202, 0xC0C0C0, 0x008000, 0x808080, 0x0000FF, 0xFF0000,
      0x0080FF}},
    {"モノクロ2",
     {0xFFFFFF, 0x000000, 0x020202, 0xF9F9F9, 0xC0C0C0, 0x008000, 0x808080, 0x0000FF, 0xFF0000,
      0x0080FF}},
    {"アイスエイジ",
     {0xFF0000, 0xFFEEDD, 0x999900, 0xFFD2A6, 0xC0C0C0, 0x008000, 0x808080, 0x000000, 0x0080FF,
      0x0000FF}},
    {"桜",
     {0xC68CFF, 0xE1FFE1, 0x999900, 0xC7C7E2, 0xBFFFFF, 0x008000, 0x0080FF, 0x000000, 0xFF0000,
      0x408000}},
    {"リーフ",
     {0xBFFFBF, 0x00BD00, 0xA4FFFF, 0x00E300, 0x86C2FF, 0xFFFFFF, 0x0080FF, 0x000080, 0xFF0000,
      0x7979FF}},
};

// The colour fields of the settings record in swatch order.
constexpr TColor TOption::*kSwatchFields[kSwatchCount] = {
    &TOption::WaveColor,    &TOption::BackColor,   &TOption::RegWaveColor, &TOption::RegBackColor,
    &TOption::PreBackColor, &TOption::CenterColor, &TOption::ZeroColor,    &TOption::PosBarColor,
    &TOption::CutBarColor,  &TOption::RangeColor,
};

const char* const kShiftTexts[kShiftChoiceCount] = {
    "なし",         "Shift",       "Ctrl",       "Alt",
    "Shift + Ctrl", "Shift + Alt", "Ctrl + Alt", "Shift + Ctrl + Alt",
};

std::vector<TKeyChoice> MakeKeyChoices()
{
    std::vector<TKeyChoice> keys{{"なし", 0}};
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        keys.push_back({AnsiString(1, letter), static_cast<WORD>(letter)});
    for (char digit : AnsiString("1234567890"))
        keys.push_back({AnsiString(1, digit), static_cast<WORD>(digit)});
    const TKeyChoice named[] = {
        {"Space", VK_SPACE},
        {"Backspace", VK_BACK},
        {"Enter", VK_RETURN},
        {"Escape", VK_ESCAPE},
        {"Insert", VK_INSERT},
        {"Delete", VK_DELETE},
        {"Home", VK_HOME},
        {"End", VK_END},
        {"PageUp", VK_PRIOR},
        {"PageDown", VK_NEXT},
        {"PrintScreen", VK_SNAPSHOT},
        {"ScrollLock", VK_SCROLL},
        {"→", VK_RIGHT},
        {"←", VK_LEFT},
        {"↑", VK_UP},
        {"↓", VK_DOWN},
    };
    keys.insert(keys.end(), std::begin(named), std::end(named));
    for (int n = 0; n <= 9; ++n)
        keys.push_back({"テンキー : " + std::to_string(n), static_cast<WORD>(VK_NUMPAD0 + n)});
    const TKeyChoice pad[] = {
        {"テンキー : +", VK_ADD},      {"テンキー : -", VK_SUBTRACT}, {"テンキー : .", VK_DECIMAL},
        {"テンキー : *", VK_MULTIPLY}, {"テンキー : /", VK_DIVIDE},
    };
    keys.insert(keys.end(), std::begin(pad), std::end(pad));
    for (int n = 1; n <= 24; ++n)
        keys.push_back({"F" + std::to_string(n), static_cast<WORD>(VK_F1 + n - 1)});
    return keys;
}

const std::vector<TKeyChoice>& KeyChoices()
{
    static const std::vector<TKeyChoice> choices = MakeKeyChoices();
    return choices;
}

bool IsArrowKey(WORD key)
{
    return key >= VK_LEFT && key <= VK_DOWN;
}

} // namespace

TSwatchColors SwatchColorsOf(const TOption& option)
{
    TSwatchColors colors{};
    for (int i = 0; i < kSwatchCount; ++i)
        colors[i] = option.*kSwatchFields[i];
    return colors;
}

void SetSwatchColors(TOption& option, const TSwatchColors& colors)
{
    for (int i = 0; i < kSwatchCount; ++i)
        option.*kSwatchFields[i] = colors[i];
}

const TColorPreset& ColorPreset(int index)
{
    return kPresets[index];
}

bool ColorTakenByOther(const TSwatchColors& colors, int swatch, TColor color)
{
    for (int i = 0; i < kSwatchCount; ++i)
        if (i != swatch && colors[i] == color)
            return true;
    return false;
}

const TKeyChoice& KeyChoice(int index)
{
    return KeyChoices().at(index);
}

int KeyChoiceOf(WORD key)
{
    const std::vector<TKeyChoice>& choices = KeyChoices();
    auto found = std::find_if(choices.begin(), choices.end(),
                              [key](const TKeyChoice& choice) { return choice.Key == key; });
    return found == choices.end() ? -1 : static_cast<int>(found - choices.begin());
}

const char* ShiftChoiceText(int index)
{
    return kShiftTexts[index];
}

AnsiString ShortCutListCaption(const AnsiString& caption)
{
    size_t open = caption.find('(');
    if (open == AnsiString::npos)
        return caption;
    return caption.substr(0, open) + caption.substr(std::min(caption.size(), open + 4));
}

TShortCutChange PlanShortCutChange(const std::vector<TShortCut>& table, int command, int shiftIndex,
                                   int keyChoice)
{
    WORD key = KeyChoice(keyChoice).Key;
    if (key == 0)
        return {TShortCutVerdict::Cleared, scNone};
    TShiftState shift = IndexToShift(shiftIndex);
    if (shift == 0 && IsArrowKey(key))
        return {TShortCutVerdict::RefusedArrowWithoutShift};
    if (shift == 0 && command == CommandIndexOf("actAudioRenamePlay"))
        return {TShortCutVerdict::RefusedWithoutShift};
    TShortCut shortCut = ShortCut(key, shift);
    for (int i = 0; i < static_cast<int>(table.size()); ++i)
        if (i != command && table[i] == shortCut)
            return {TShortCutVerdict::Duplicate, shortCut, i};
    return {TShortCutVerdict::Assigned, shortCut};
}

bool ApplyShortCutChange(std::vector<TShortCut>& table, int command, const TShortCutChange& change,
                         bool moveFromHolder)
{
    switch (change.Verdict) {
    case TShortCutVerdict::RefusedArrowWithoutShift:
    case TShortCutVerdict::RefusedWithoutShift:
        return false;
    case TShortCutVerdict::Duplicate:
        if (!moveFromHolder)
            return false;
        table.at(change.Holder) = scNone;
        break;
    case TShortCutVerdict::Cleared:
    case TShortCutVerdict::Assigned:
        break;
    }
    table.at(command) = change.ShortCut;
    return true;
}

std::vector<TShortCut> DefaultShortCuts()
{
    std::vector<TShortCut> shortCuts;
    for (int i = 0; i < kCommandCount; ++i)
        shortCuts.push_back(DefaultShortCut(CommandInfo(i)));
    return shortCuts;
}
