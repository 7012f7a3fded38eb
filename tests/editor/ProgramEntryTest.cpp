// The single-instance rule, with the real program: while this process holds
// the instance mutex and a main window exists, a second start of zandrel.exe
// in the same Wine prefix ends at once and opens nothing.
#include "MainWindowFixture.h"

#include "support/TestWait.h"
#include "support/WavFile.h"

#include "classlib/FilePaths.h"

using namespace testing_support;

namespace {

AnsiString ProgramPath()
{
    char own[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, own, sizeof(own));
    // The tests run from build\tests; the program is built into build.
    return ExtractFilePath(ExcludeTrailingBackslash(ExtractFilePath(own))) + "zandrel.exe";
}

// Starts the program as a second instance with argument; true when it
// ended by itself, with exit code 0.
bool StartSecondInstance(const AnsiString& argument, const AnsiString& folder)
{
    AnsiString program = ProgramPath();
    AnsiString commandLine = "\"" + program + "\" \"" + argument + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return false;
    bool ended = WaitPumping(process.hProcess, 60000);
    if (!ended)
        TerminateProcess(process.hProcess, 1); // the one we started
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended && exitCode == 0;
}

} // namespace

TEST_F(MainWindowTest, ASecondInstanceEndsWithoutOpeningItsArgument)
{
    ASSERT_TRUE(FileExists(ProgramPath())) << ProgramPath();
    std::string wav = WriteWav(
        folder, "take.wav", WavBuilder().Pcm16(2, 44100, ToneSamples(4410, 2, 44100, 440, 8000)));
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    ASSERT_NE(mutex, nullptr);
    Start();

    EXPECT_TRUE(StartSecondInstance(wav, folder.Path()));
    CloseHandle(mutex);

    // Opening would have left a draw cache beside the file.
    EXPECT_FALSE(FileExists(ChangeFileExt(wav, ".dwd")));
    EXPECT_EQ(FileNamesIn(folder.Path()), std::vector<AnsiString>{"take.wav"});
}

// The first instance waits on a question (its window disabled under it)
// while the user works elsewhere: a second start brings the question up, and
// nothing covers it.
TEST_F(MainWindowTest, ASecondStartBringsUpTheQuestionTheFirstInstanceWaitsOn)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    ASSERT_NE(mutex, nullptr);
    Start();
    WNDCLASSA standIn{};
    standIn.lpfnWndProc = DefWindowProcA;
    standIn.hInstance = GetModuleHandleA(nullptr);
    standIn.lpszClassName = "ZandrelWindowStandIn";
    RegisterClassA(&standIn);
    auto makeWindow = [&](DWORD style, const RECT& r, HWND owner) {
        return CreateWindowA(standIn.lpszClassName, "", style | WS_CAPTION | WS_VISIBLE, r.left,
                             r.top, r.right - r.left, r.bottom - r.top, owner, nullptr,
                             standIn.hInstance, nullptr);
    };
    HWND question = makeWindow(WS_POPUP, {100, 100, 300, 200}, form->Handle());
    HWND elsewhere = makeWindow(WS_OVERLAPPEDWINDOW, {0, 0, 800, 700}, nullptr);
    SetForegroundWindow(question);
    EnableWindow(form->Handle(), FALSE);
    SetForegroundWindow(elsewhere);

    EXPECT_TRUE(StartSecondInstance("", folder.Path()));
    EXPECT_EQ(GetForegroundWindow(), question);
    RECT questionRect, aboveRect, shared;
    GetWindowRect(question, &questionRect);
    for (HWND above = GetWindow(question, GW_HWNDPREV); above;
         above = GetWindow(above, GW_HWNDPREV)) {
        if (IsWindowVisible(above) && GetWindowRect(above, &aboveRect)) {
            EXPECT_FALSE(IntersectRect(&shared, &questionRect, &aboveRect)) << above;
        }
    }
    EnableWindow(form->Handle(), TRUE);
    DestroyWindow(elsewhere);
    DestroyWindow(question);
    CloseHandle(mutex);
}
