#include "UniSysUtils.h"

#include "UniUTF7.h"

#include "classlib/WideText.h"

#include <cstring>

bool PlatformIsNT = true;
bool PlatformIsXPOrLater = true;

namespace {

const char* const kInvalidUTF7 = "Invalid UTF7";
const char* const kBufferOverflow = "Buffer overflow";

// Longest path a module can have, in characters, with room for the 0.
constexpr DWORD kLongestModulePath = 32768;

[[noreturn]] void UniRaiseCodecResult(TUtf7Result result)
{
    if (result == TUtf7Result::BufferOverflow)
        throw EUniInternalError(kBufferOverflow);
    throw EUniGeneralError(kInvalidUTF7);
}

} // namespace

void InitUniSysUtils()
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool known = GetVersionExW(&version) != 0;
#pragma GCC diagnostic pop
    PlatformIsNT = !known || version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    PlatformIsXPOrLater = known && (version.dwMajorVersion > 5 ||
                                    (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1));
}

// ---------------------------------------------------------------------------
// Wide strings

wchar_t* WideCopyBounded(wchar_t* dest, const wchar_t* source, size_t maxLen)
{
    size_t i = 0;
    for (; i < maxLen && source[i]; ++i)
        dest[i] = source[i];
    dest[i] = L'\0';
    return dest;
}

const wchar_t* WideFindChar(const wchar_t* text, wchar_t c)
{
    for (; *text; ++text)
        if (*text == c)
            return text;
    return nullptr;
}

void WideMoveChars(wchar_t* dest, const wchar_t* source, size_t count)
{
    std::memmove(dest, source, count * sizeof(wchar_t));
}

WideString WideUpperCopy(const WideString& text)
{
    WideString upper = text;
    if (!upper.empty())
        PlatformCharUpperBuff(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

bool WideSameText(const WideString& a, const WideString& b)
{
    return WideUpperCopy(a) == WideUpperCopy(b);
}

size_t WideLastSeparatorIndex(const WideString& delimiters, const WideString& text)
{
    const size_t found = text.find_last_of(delimiters);
    return found == WideString::npos ? 0 : found + 1;
}

WideString WidePathTail(const WideString& path)
{
    return path.substr(WideLastSeparatorIndex(L"\\:", path));
}

bool CharFitsAnsi(wchar_t c)
{
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, sizeof bytes,
                                      nullptr, &usedDefault);
    return n > 0 && !usedDefault;
}

WideString WideModulePath(HMODULE module)
{
    // A buffer of a fixed size would cut longer paths: grow it until the
    // path fits.
    for (DWORD size = MAX_PATH;; size *= 2) {
        WideString buffer(size, L'\0');
        const DWORD n = PlatformModuleFileName(module, buffer.data(), size);
        if (n == 0)
            RaiseLastOSError();
        if (n < size || size >= kLongestModulePath) {
            buffer.resize(n < size ? n : size);
            return buffer;
        }
    }
}

WideString WideCommandArg(int index)
{
    if (index == 0)
        return WideModulePath(nullptr);
    return WideCommandLineArg(GetCommandLineW(), index);
}

WideString WideCommandLineArg(const wchar_t* commandLine, int index)
{
    const wchar_t* p = commandLine;
    for (int i = 0; p; ++i) {
        for (;;) {
            while (*p && *p <= L' ')
                ++p;
            if (p[0] == L'"' && p[1] == L'"')
                p += 2;
            else
                break;
        }
        if (!*p)
            break;
        WideString parameter;
        while (*p > L' ') {
            if (*p == L'"') {
                ++p;
                while (*p && *p != L'"')
                    parameter += *p++;
                if (*p)
                    ++p;
            } else {
                parameter += *p++;
            }
        }
        if (i == index)
            return parameter;
    }
    return WideString();
}

// ---------------------------------------------------------------------------
// Wide system calls

BOOL PlatformSetWindowText(HWND window, const WideString& text)
{
    return SetWindowTextW(window, text.c_str());
}

int PlatformDrawText(HDC dc, const wchar_t* text, int count, RECT* rect, UINT format)
{
    return DrawTextW(dc, text, count, rect, format);
}

DWORD PlatformModuleFileName(HMODULE module, wchar_t* buffer, DWORD size)
{
    return GetModuleFileNameW(module, buffer, size);
}

wchar_t PlatformCharUpper(wchar_t c)
{
    // A pointer argument whose high word is 0 is taken as one character.
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
        CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}

wchar_t* PlatformCharUpper(wchar_t* text)
{
    return CharUpperW(text);
}

DWORD PlatformCharUpperBuff(wchar_t* buffer, DWORD length)
{
    return CharUpperBuffW(buffer, length);
}

// ---------------------------------------------------------------------------
// UTF-7

AnsiString EncodeUTF7(const WideString& text)
{
    std::string out;
    const TUtf7Result result = Utf7Encode(Utf16FromWide(text), out);
    if (result != TUtf7Result::Ok)
        UniRaiseCodecResult(result);
    return out;
}

WideString DecodeUTF7(const AnsiString& text)
{
    std::u16string out;
    const TUtf7Result result = Utf7Decode(text, out);
    if (result != TUtf7Result::Ok)
        UniRaiseCodecResult(result);
    return WideFromUtf16(out);
}
