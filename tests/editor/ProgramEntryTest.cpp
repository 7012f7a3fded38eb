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

} // namespace

TEST_F(MainWindowTest, ASecondInstanceEndsWithoutOpeningItsArgument)
{
    AnsiString program = ProgramPath();
    ASSERT_TRUE(FileExists(program)) << program;
    std::string wav = WriteWav(
        folder, "take.wav", WavBuilder().Pcm16(2, 44100, ToneSamples(4410, 2, 44100, 440, 8000)));
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    ASSERT_NE(mutex, nullptr);
    Start();

    AnsiString commandLine = "\"" + program + "\" \"" + wav + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, folder.Path().c_str(), &startup, &process));
    bool ended = WaitPumping(process.hProcess, 60000);
    if (!ended)
        TerminateProcess(process.hProcess, 1); // the one we started
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(mutex);

    EXPECT_TRUE(ended);
    EXPECT_EQ(exitCode, 0u);
    // Opening would have left a draw cache beside the file.
    EXPECT_FALSE(FileExists(ChangeFileExt(wav, ".dwd")));
    EXPECT_EQ(FileNamesIn(folder.Path()), std::vector<AnsiString>{"take.wav"});
}
