#include "support/TempFolder.h"
#include "unicode/UniSysUtils.h"

#include "classlib/WideText.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(UniSysUtilsTest, CommandLineParametersFollowTheQuotes)
{
    // "C:\Program Files\z.exe"  "a b" c<tab>""d "e"f" x" last
    const wchar_t* line = L"\"C:\\Program Files\\z.exe\"  \"a b\" c\t\"\"d \"e\"f\" x\" last";
    const WideString expected[] = {
        L"C:\\Program Files\\z.exe", L"a b", L"c", L"d", L"ef x", L"last", L""};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(WideCommandLineArg(line, i), expected[i]) << i;
    EXPECT_EQ(WideCommandLineArg(L"   ", 1), L"");
    EXPECT_EQ(WideCommandArg(0), WideModulePath(nullptr));
}

TEST(UniSysUtilsTest, PathAndSeparatorRoutines)
{
    struct Case
    {
        WideString path, tail;
        size_t lastSeparator; // of "\" and ":", 1-based
    };
    const Case cases[] = {
        {L"C:\\dir\\file.wav", L"file.wav", 7},
        {L"C:file", L"file", 2},
        {L"\u8868\\\uAC00", L"\uAC00", 2},
        {L"plain", L"plain", 0},
        {L"dir\\", L"", 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WidePathTail(c.path), c.tail);
        EXPECT_EQ(WideLastSeparatorIndex(L"\\:", c.path), c.lastSeparator);
    }
    wchar_t buffer[4];
    EXPECT_EQ(WideString(WideCopyBounded(buffer, L"abcdef", 3)), L"abc");
    EXPECT_EQ(WideString(WideCopyBounded(buffer, L"a", 3)), L"a");
    EXPECT_EQ(WideFindChar(L"abc", L'c') - L"abc", 2);
    EXPECT_EQ(WideFindChar(L"abc", L'x'), nullptr);
}

TEST(UniSysUtilsTest, CaseAndCodePageFit)
{
    EXPECT_TRUE(WideSameText(L"Stra\u00DFe \u00E9t\u00E9", L"STRA\u00DFE \u00C9T\u00C9"));
    EXPECT_FALSE(WideSameText(L"abc", L"abd"));
    EXPECT_EQ(PlatformCharUpper(L'\u00E9'), L'\u00C9');
    // あ, 漢 and ｱ have forms in code page 932; €, U+301C, U+AC00 and é do not
    // (é only a best fit, which does not count).
    for (wchar_t c : {L'a', L'\u3042', L'\u6F22', L'\uFF71'})
        EXPECT_TRUE(CharFitsAnsi(c)) << int(c);
    for (wchar_t c : {L'\u20AC', L'\u301C', L'\uAC00', L'\u00E9'})
        EXPECT_FALSE(CharFitsAnsi(c)) << int(c);
}

TEST(UniSysUtilsTest, ModulePathsLongerThanMaxPathAreWhole)
{
    testing_support::TempFolder folder;
    WideString base = L"\\\\?\\" + AnsiToWide(folder.Path());
    base.pop_back(); // the trailing backslash
    WideString deep = base;
    while (deep.size() < 300) {
        deep += L"\\\u8868\u8868\u8868\u8868\u8868\u8868\u8868\u8868\u8868\u8868";
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    const WideString library = deep + L"\\copy.dll";
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_TRUE(CopyFileW((WideString(system) + L"\\cabinet.dll").c_str(), library.c_str(), TRUE));
    HMODULE module = LoadLibraryW(library.c_str());
    ASSERT_TRUE(module);
    const WideString path = WideModulePath(module);
    FreeLibrary(module);
    EXPECT_GT(path.size(), 300u);
    EXPECT_EQ(WidePathTail(path), L"copy.dll");
    DeleteFileW(library.c_str());
    while (deep.size() > base.size()) {
        RemoveDirectoryW(deep.c_str());
        deep.resize(deep.rfind(L'\\'));
    }
}

} // namespace
