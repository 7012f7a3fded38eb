#include "WideText.h"

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

WideString WideFromUtf16(const std::u16string& text)
{
    return WideString(text.begin(), text.end());
}

std::u16string Utf16FromWide(const WideString& text)
{
    return std::u16string(text.begin(), text.end());
}
