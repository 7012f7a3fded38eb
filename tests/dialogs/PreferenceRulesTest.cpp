// The preferences window's colour and shortcut rules, without windows.
#include "dialogs/PreferenceRules.h"

#include "editor/CommandShortCuts.h"

#include <gtest/gtest.h>

#include <set>

namespace {

int Command(const char* name)
{
    return CommandIndexOf(name);
}

int KeyOf(WORD key)
{
    return KeyChoiceOf(key);
}

constexpr int kNoModifier = 0, kShift = 1, kCtrl = 2, kAlt = 3, kShiftCtrl = 4;

} // namespace

TEST(PreferenceColors, AColourAnotherSwatchHasIsRefused)
{
    TSwatchColors colors = SwatchColorsOf(TOption{});
    const TColor back = colors[1];
    struct
    {
        int Swatch;
        TColor Color;
        bool Taken;
    } const cases[] = {
        {0, back, true},       // WAVE takes BACK's colour
        {0, colors[0], false}, // its own colour again
        {0, 0x123456, false},  // a colour nobody has
        {9, colors[8], true},  // RANGE takes CUTBAR's
        {1, colors[9], true},  // BACK takes RANGE's
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorTakenByOther(colors, c.Swatch, c.Color), c.Taken)
            << c.Swatch << " " << std::hex << c.Color;
}

TEST(PreferenceColors, PresetsAreTenColoursApartAndTheFirstIsTheDefault)
{
    EXPECT_EQ(ColorPreset(0).Colors, SwatchColorsOf(TOption{}));
    EXPECT_EQ(ColorPreset(2).Colors[0], 0xFFFFFF); // monochrome 2: white on black
    EXPECT_EQ(ColorPreset(2).Colors[1], 0x000000);
    EXPECT_EQ(ColorPreset(5).Colors[9], 0x7979FF);
    for (int p = 0; p < kColorPresetCount; ++p) {
        const TSwatchColors& colors = ColorPreset(p).Colors;
        EXPECT_EQ(std::set<TColor>(colors.begin(), colors.end()).size(), 10u) << p;
    }

    TOption option;
    SetSwatchColors(option, ColorPreset(3).Colors);
    EXPECT_EQ(option.WaveColor, 0xFF0000);
    EXPECT_EQ(option.BackColor, 0xFFEEDD);
    EXPECT_EQ(option.CutBarColor, 0x0080FF);
    EXPECT_EQ(option.RangeColor, 0x0000FF);
    EXPECT_EQ(SwatchColorsOf(option), ColorPreset(3).Colors);
}

TEST(PreferenceKeys, TheNinetyTwoKeysInListOrder)
{
    struct
    {
        int Index;
        const char* Text;
        WORD Key;
    } const cases[] = {
        {0, "なし", 0},
        {1, "A", 'A'},
        {26, "Z", 'Z'},
        {27, "1", '1'},
        {35, "9", '9'},
        {36, "0", '0'},
        {37, "Space", VK_SPACE},
        {39, "Enter", VK_RETURN},
        {46, "PageDown", VK_NEXT},
        {48, "ScrollLock", VK_SCROLL},
        {49, "→", VK_RIGHT},
        {50, "←", VK_LEFT},
        {52, "↓", VK_DOWN},
        {53, "テンキー : 0", VK_NUMPAD0},
        {62, "テンキー : 9", VK_NUMPAD9},
        {63, "テンキー : +", VK_ADD},
        {65, "テンキー : .", VK_DECIMAL},
        {66, "テンキー : *", VK_MULTIPLY},
        {67, "テンキー : /", VK_DIVIDE},
        {68, "F1", VK_F1},
        {91, "F24", VK_F24},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyChoice(c.Index).Text, AnsiString(c.Text)) << c.Index;
        EXPECT_EQ(KeyChoice(c.Index).Key, c.Key) << c.Index;
    }
    std::set<WORD> keys;
    for (int i = 0; i < kKeyChoiceCount; ++i) {
        keys.insert(KeyChoice(i).Key);
        EXPECT_EQ(KeyChoiceOf(KeyChoice(i).Key), i);
    }
    EXPECT_EQ(keys.size(), 92u);
    EXPECT_EQ(KeyChoiceOf(VK_TAB), -1);
    // Every command's default key can be shown in the list.
    for (TShortCut shortCut : DefaultShortCuts())
        EXPECT_GE(KeyChoiceOf(shortCut & 0xFF), 0) << std::hex << shortCut;
}

TEST(PreferenceKeys, ListCaptionsDropTheAccessKey)
{
    struct
    {
        const char* Caption;
        const char* Listed;
    } const cases[] = {
        {"開く(&O)", "開く"}, {"開く(&O)...", "開く..."}, {"前へ移動", "前へ移動"},
        {"(&A)", ""},         {"終了(&X", "終了"},        {"a(b)c(d)", "a(d)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortCutListCaption(c.Caption), AnsiString(c.Listed)) << c.Caption;
}

TEST(PreferenceShortCuts, ChangesAreClearedRefusedAskedOrAssigned)
{
    const std::vector<TShortCut> defaults = DefaultShortCuts();
    const int open = Command("actFileOpen"), close = Command("actFileClose"),
              endShort = Command("actRegionEndShort"), renamePlay = Command("actAudioRenamePlay"),
              about = Command("actAbout");
    struct
    {
        const char* What;
        int Command, Shift, KeyChoice;
        TShortCutVerdict Verdict;
        TShortCut ShortCut;
        int Holder;
    } const cases[] = {
        {"key none", open, kCtrl, 0, TShortCutVerdict::Cleared, scNone, -1},
        {"Ctrl+O elsewhere", close, kCtrl, KeyOf('O'), TShortCutVerdict::Duplicate, scCtrl | 'O',
         open},
        {"Ctrl+O on itself", open, kCtrl, KeyOf('O'), TShortCutVerdict::Assigned, scCtrl | 'O', -1},
        {"plain left", about, kNoModifier, KeyOf(VK_LEFT),
         TShortCutVerdict::RefusedArrowWithoutShift, scNone, -1},
        {"plain down", about, kNoModifier, KeyOf(VK_DOWN),
         TShortCutVerdict::RefusedArrowWithoutShift, scNone, -1},
        {"Shift+left on its holder", endShort, kShift, KeyOf(VK_LEFT), TShortCutVerdict::Assigned,
         scShift | VK_LEFT, -1},
        {"Shift+left elsewhere", about, kShift, KeyOf(VK_LEFT), TShortCutVerdict::Duplicate,
         scShift | VK_LEFT, endShort},
        {"Alt+left", about, kAlt, KeyOf(VK_LEFT), TShortCutVerdict::Assigned, scAlt | VK_LEFT, -1},
        {"plain F3", about, kNoModifier, KeyOf(VK_F3), TShortCutVerdict::Assigned, VK_F3, -1},
        // Refused before the question, though Space belongs to play.
        {"rename play, plain Space", renamePlay, kNoModifier, KeyOf(VK_SPACE),
         TShortCutVerdict::RefusedWithoutShift, scNone, -1},
        {"rename play, Shift+Ctrl+P", renamePlay, kShiftCtrl, KeyOf('P'),
         TShortCutVerdict::Assigned, scShift | scCtrl | 'P', -1},
        {"rename play, none", renamePlay, kNoModifier, 0, TShortCutVerdict::Cleared, scNone, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TShortCutChange change = PlanShortCutChange(defaults, c.Command, c.Shift, c.KeyChoice);
        EXPECT_EQ(change.Verdict, c.Verdict);
        EXPECT_EQ(change.ShortCut, c.ShortCut);
        EXPECT_EQ(change.Holder, c.Holder);
    }
}

TEST(PreferenceShortCuts, ADuplicateMovesOnYesAndNothingChangesOnNoOrARefusal)
{
    const std::vector<TShortCut> defaults = DefaultShortCuts();
    const int open = Command("actFileOpen"), close = Command("actFileClose"),
              renamePlay = Command("actAudioRenamePlay"), play = Command("actAudioPlay");
    struct
    {
        const char* What;
        int Command, Shift, KeyChoice;
        bool Yes;
        bool Changed;
        TShortCut CommandAfter;
        int Other;
        TShortCut OtherAfter;
    } const cases[] = {
        {"Ctrl+O, Yes", close, kCtrl, KeyOf('O'), true, true, scCtrl | 'O', open, scNone},
        {"Ctrl+O, No", close, kCtrl, KeyOf('O'), false, false, scCtrl | 'W', open, scCtrl | 'O'},
        {"plain Space for rename play", renamePlay, kNoModifier, KeyOf(VK_SPACE), true, false,
         scCtrl | VK_SPACE, play, VK_SPACE},
        {"none", open, kCtrl, 0, true, true, scNone, close, scCtrl | 'W'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        std::vector<TShortCut> table = defaults;
        TShortCutChange change = PlanShortCutChange(table, c.Command, c.Shift, c.KeyChoice);
        EXPECT_EQ(ApplyShortCutChange(table, c.Command, change, c.Yes), c.Changed);
        EXPECT_EQ(table[c.Command], c.CommandAfter);
        EXPECT_EQ(table[c.Other], c.OtherAfter);
        int changedEntries = 0;
        for (size_t i = 0; i < table.size(); ++i)
            changedEntries += table[i] != defaults[i];
        EXPECT_LE(changedEntries, 2);
    }
}
