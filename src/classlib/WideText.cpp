#include "WideText.h"

#include "Utf8.h"

#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide strings are UTF-16");

WideString AnsiToWide(const AnsiString& text)
{
    if (text.empty())
        return WideString();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    WideString wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

AnsiString WideToAnsi(const WideString& text)
{
    if (text.empty())
        return AnsiString();
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    AnsiString ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

AnsiString AnsiFromUtf8(const std::string& bytes, char unheld)
{
    const WideString wide = WideFromUtf16(Utf8ToUtf16(bytes));
    if (wide.empty())
        return AnsiString();
    const int size = static_cast<int>(wide.size());
    const char replacement[2] = {unheld, '\0'};
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                           nullptr, 0, replacement, nullptr);
    AnsiString ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length,
                        replacement, nullptr);
    return ansi;
}

WideString WideFromUtf16(const std::u16string& text)
{
    return WideString(text.begin(), text.end());
}

std::u16string Utf16FromWide(const WideString& text)
{
    return std::u16string(text.begin(), text.end());
}
