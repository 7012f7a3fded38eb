#include "classlib/Clipboard.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Shift-JIS text whose trail bytes include the backslash (ソ, 表).
const AnsiString kJapanese = "日本語のテキスト ソ表\\end";

WideString SystemUnicodeText()
{
    WideString text;
    if (!OpenClipboard(nullptr))
        return L"(cannot open)";
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(block));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

TEST(ClipboardTest, JapaneseTextRoundTrips)
{
    Clipboard()->SetAsText(kJapanese);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), kJapanese);
    EXPECT_EQ(SystemUnicodeText(), L"日本語のテキスト ソ表\\end")
        << "Unicode programs read the same characters";

    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), "");
}

TEST(ClipboardTest, ReadsTextLeftByUnicodePrograms)
{
    const wchar_t text[] = L"波形を切る";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(text));
    std::memcpy(GlobalLock(block), text, sizeof(text));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();

    EXPECT_EQ(Clipboard()->AsText(), "波形を切る");
}

TEST(ClipboardTest, OpenNestsAndEmptiesOnce)
{
    Clipboard()->Open();
    Clipboard()->Open();
    Clipboard()->SetAsText("first");
    Clipboard()->SetAsText("second"); // replaces within the same session
    Clipboard()->Close();
    EXPECT_EQ(Clipboard()->AsText(), "second") << "reading inside an open session";
    Clipboard()->Close();
    Clipboard()->Close(); // an extra close is harmless
    EXPECT_EQ(Clipboard()->AsText(), "second");
}

} // namespace
