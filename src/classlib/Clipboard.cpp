#include "Clipboard.h"

#include "HiddenWindow.h"

#include <cwchar>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT kTextCodePage = 932;

// Another program (Wine's own clipboard bridge among them) may hold the
// clipboard for a moment; try a few times before giving up.
constexpr int kOpenAttempts = 50;
constexpr DWORD kOpenRetryMs = 10;

// Closes the clipboard object's Open when leaving the scope.
struct ClipboardSession
{
    explicit ClipboardSession(TClipboard& c) : clipboard(c) { clipboard.Open(); }
    ~ClipboardSession() { clipboard.Close(); }
    TClipboard& clipboard;
};

WideString WideFromAnsi(const AnsiString& text)
{
    if (text.empty())
        return WideString();
    int length = MultiByteToWideChar(kTextCodePage, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0);
    WideString wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(kTextCodePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

AnsiString AnsiFromWide(const wchar_t* text, size_t count)
{
    if (count == 0)
        return AnsiString();
    int length = WideCharToMultiByte(kTextCodePage, 0, text, static_cast<int>(count), nullptr, 0,
                                     nullptr, nullptr);
    AnsiString ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(kTextCodePage, 0, text, static_cast<int>(count), ansi.data(), length,
                        nullptr, nullptr);
    return ansi;
}

// The text of a clipboard block, up to its first null or its end, whichever
// comes first (a block from another program need not end in a null).
template <class Char> std::basic_string<Char> BlockText(HANDLE block)
{
    if (!block)
        return {};
    auto* data = static_cast<const Char*>(GlobalLock(block));
    if (!data)
        return {};
    size_t capacity = GlobalSize(block) / sizeof(Char);
    size_t length = 0;
    while (length < capacity && data[length] != 0)
        ++length;
    std::basic_string<Char> text(data, length);
    GlobalUnlock(block);
    return text;
}

} // namespace

TClipboard::TClipboard() = default;

TClipboard::~TClipboard()
{
    if (FOpenCount > 0)
        CloseClipboard();
    if (FWindow)
        DestroyWindow(FWindow);
}

HWND TClipboard::OwnerWindow()
{
    if (!FWindow)
        FWindow = CreateMessageOnlyWindow("STATIC");
    return FWindow;
}

void TClipboard::Open()
{
    if (FOpenCount == 0) {
        HWND owner = OwnerWindow();
        bool opened = false;
        for (int attempt = 0; attempt < kOpenAttempts && !opened; ++attempt) {
            if (attempt > 0)
                Sleep(kOpenRetryMs);
            opened = OpenClipboard(owner) != FALSE;
        }
        if (!opened)
            throw EClipboardException("Cannot open clipboard");
        FEmptied = false;
    }
    ++FOpenCount;
}

void TClipboard::Close()
{
    if (FOpenCount == 0)
        return;
    if (--FOpenCount == 0)
        CloseClipboard();
}

void TClipboard::Clear()
{
    ClipboardSession session(*this);
    EmptyClipboard();
    FEmptied = true;
}

void TClipboard::EmptyOnce()
{
    if (FEmptied)
        return;
    EmptyClipboard();
    FEmptied = true;
}

bool TClipboard::HasFormat(UINT format) const
{
    return IsClipboardFormatAvailable(format) != FALSE;
}

void TClipboard::Put(UINT format, const void* data, size_t bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block)
        throw EOutOfMemory("Out of memory");
    std::memcpy(GlobalLock(block), data, bytes);
    GlobalUnlock(block);
    if (!SetClipboardData(format, block)) {
        GlobalFree(block);
        RaiseLastOSError();
    }
}

AnsiString TClipboard::AsText()
{
    if (!HasFormat(CF_UNICODETEXT) && !HasFormat(CF_TEXT))
        return AnsiString();
    ClipboardSession session(*this);
    if (HasFormat(CF_UNICODETEXT)) {
        WideString wide = BlockText<wchar_t>(GetClipboardData(CF_UNICODETEXT));
        return AnsiFromWide(wide.data(), wide.size());
    }
    return BlockText<char>(GetClipboardData(CF_TEXT));
}

void TClipboard::SetAsText(const AnsiString& value)
{
    ClipboardSession session(*this);
    EmptyOnce();
    Put(CF_TEXT, value.c_str(), value.size() + 1);
    WideString wide = WideFromAnsi(value);
    Put(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
