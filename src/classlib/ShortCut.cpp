#include "ShortCut.h"

#include "Seams.h"

#include <string>

namespace {

struct ShortCutModifier
{
    TShortCut Bit;
    const char* Prefix;
};

const ShortCutModifier kModifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

struct NamedKey
{
    WORD Key;
    const char* Name;
};

const NamedKey kKeyNames[] = {
    {VK_BACK, "BkSp"},
    {VK_TAB, "Tab"},
    {VK_RETURN, "Enter"},
    {VK_PAUSE, "Pause"},
    {VK_CAPITAL, "Caps Lock"},
    {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"},
    {VK_NEXT, "PgDn"},
    {VK_END, "End"},
    {VK_HOME, "Home"},
    {VK_LEFT, "Left"},
    {VK_UP, "Up"},
    {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},
    {VK_SNAPSHOT, "Print Screen"},
    {VK_INSERT, "Ins"},
    {VK_DELETE, "Delete"},
    {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},
    {VK_SEPARATOR, "Num Enter"},
    {VK_SUBTRACT, "Num -"},
    {VK_DECIMAL, "Num ."},
    {VK_DIVIDE, "Num /"},
    {VK_NUMLOCK, "Num Lock"},
    {VK_SCROLL, "Scroll Lock"},
    {VK_OEM_1, ";"},
    {VK_OEM_PLUS, "="},
    {VK_OEM_COMMA, ","},
    {VK_OEM_MINUS, "-"},
    {VK_OEM_PERIOD, "."},
    {VK_OEM_2, "/"},
    {VK_OEM_3, "`"},
    {VK_OEM_4, "["},
    {VK_OEM_5, "\\"},
    {VK_OEM_6, "]"},
    {VK_OEM_7, "'"},
};

// Compares the start of text with prefix, ignoring ASCII case.
bool StartsWithIgnoringCase(const AnsiString& text, size_t at, const char* prefix)
{
    for (size_t i = 0; prefix[i]; ++i) {
        if (at + i >= text.size())
            return false;
        unsigned char a = text[at + i], b = prefix[i];
        if (a >= 'a' && a <= 'z')
            a -= 32;
        if (b >= 'a' && b <= 'z')
            b -= 32;
        if (a != b)
            return false;
    }
    return true;
}

} // namespace

AnsiString KeyName(WORD key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return AnsiString(1, static_cast<char>(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return "Num " + AnsiString(1, static_cast<char>('0' + key - VK_NUMPAD0));
    if (key >= VK_F1 && key <= VK_F24)
        return "F" + std::to_string(key - VK_F1 + 1);
    for (const NamedKey& k : kKeyNames)
        if (k.Key == key)
            return k.Name;
    return "";
}

AnsiString ShortCutToText(TShortCut shortCut)
{
    AnsiString name = KeyName(shortCut & 0xFF);
    if (name.empty())
        return "";
    AnsiString text;
    for (const ShortCutModifier& m : kModifiers)
        if (shortCut & m.Bit)
            text += m.Prefix;
    return text + name;
}

TShortCut TextToShortCut(const AnsiString& text)
{
    TShortCut modifiers = 0;
    size_t at = 0;
    for (bool found = true; found;) {
        found = false;
        for (const ShortCutModifier& m : kModifiers) {
            if (!(modifiers & m.Bit) && StartsWithIgnoringCase(text, at, m.Prefix)) {
                modifiers |= m.Bit;
                at += std::char_traits<char>::length(m.Prefix);
                found = true;
            }
        }
    }
    AnsiString rest = text.substr(at);
    if (rest.empty())
        return scNone;
    for (int key = 1; key < 256; ++key) {
        AnsiString name = KeyName(static_cast<WORD>(key));
        if (!name.empty() && name.size() == rest.size() &&
            StartsWithIgnoringCase(rest, 0, name.c_str()))
            return static_cast<TShortCut>(key | modifiers);
    }
    return scNone;
}

bool IsAccelerator(char character, const AnsiString& caption)
{
    auto upper = [](unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; };
    for (size_t i = 0; i < caption.size(); ++i) {
        auto c = static_cast<unsigned char>(caption[i]);
        if (IsDBCSLeadByte(c) && i + 1 < caption.size()) {
            ++i;
            continue;
        }
        if (c != '&' || i + 1 >= caption.size())
            continue;
        auto next = static_cast<unsigned char>(caption[i + 1]);
        if (next == '&') {
            ++i;
            continue;
        }
        return upper(next) == upper(static_cast<unsigned char>(character));
    }
    return false;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    TShiftState shift = 0;
    if (SeamKeyHeld(VK_SHIFT))
        shift |= ssShift;
    if (SeamKeyHeld(VK_CONTROL))
        shift |= ssCtrl;
    if ((keyData & 0x20000000) || SeamKeyHeld(VK_MENU))
        shift |= ssAlt;
    return shift;
}

TShiftState KeyboardShiftState()
{
    TShiftState shift = 0;
    if (SeamKeyHeld(VK_SHIFT))
        shift |= ssShift;
    if (SeamKeyHeld(VK_CONTROL))
        shift |= ssCtrl;
    if (SeamKeyHeld(VK_MENU))
        shift |= ssAlt;
    if (SeamKeyHeld(VK_LBUTTON))
        shift |= ssLeft;
    if (SeamKeyHeld(VK_RBUTTON))
        shift |= ssRight;
    if (SeamKeyHeld(VK_MBUTTON))
        shift |= ssMiddle;
    return shift;
}

TShiftState MouseShiftState(WPARAM mouseKeys)
{
    TShiftState shift = 0;
    if (mouseKeys & MK_SHIFT)
        shift |= ssShift;
    if (mouseKeys & MK_CONTROL)
        shift |= ssCtrl;
    if (mouseKeys & MK_LBUTTON)
        shift |= ssLeft;
    if (mouseKeys & MK_RBUTTON)
        shift |= ssRight;
    if (mouseKeys & MK_MBUTTON)
        shift |= ssMiddle;
    if (SeamKeyHeld(VK_MENU))
        shift |= ssAlt;
    return shift;
}
