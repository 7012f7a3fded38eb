#include "CDStandIn.h"

#include "audio/CDRip.h"

#include "classlib/Application.h"
#include "classlib/FilePaths.h"

#include <sstream>

namespace cd_test {

AnsiString ProgramFolder()
{
    return IncludeTrailingBackslash(ExtractFilePath(Application->ExeName()));
}

AnsiString IniPath()
{
    return ProgramFolder() + CDRipIniName;
}

void InstallLibrary(const char* Build)
{
    CDRipUnloadLibrary();
    AnsiString source = ProgramFolder() + Build;
    AnsiString target = ProgramFolder() + CDRipLibraryName;
    ASSERT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE))
        << "cannot put " << source << " in place: error " << GetLastError();
}

void RemoveLibrary()
{
    CDRipUnloadLibrary();
    AnsiString target = ProgramFolder() + CDRipLibraryName;
    DeleteFileA(target.c_str());
    ASSERT_FALSE(FileExists(target));
}

CRTestDisc MakeDisc(const std::vector<std::uint32_t>& Starts)
{
    CRTestDisc disc = {};
    disc.DriveCount = 1;
    disc.TrackCount = static_cast<std::int32_t>(Starts.size()) - 1;
    for (size_t i = 0; i < Starts.size(); ++i)
        disc.Entries[i] = {Starts[i], 16, std::uint8_t(i + 1 == Starts.size() ? 0xAA : i + 1)};
    disc.CutAfterBytes = -1;
    return disc;
}

namespace {

FARPROC standinCall(const char* name)
{
    FARPROC proc = CDRipHandle() ? GetProcAddress(CDRipHandle(), name) : nullptr;
    EXPECT_NE(proc, nullptr) << name << ": the stand-in is not loaded";
    return proc;
}

} // namespace

void Configure(const CRTestDisc& Disc)
{
    if (auto configure = reinterpret_cast<TCRTest_Configure>(
            reinterpret_cast<void*>(standinCall("CRTest_Configure"))))
        configure(&Disc);
}

std::vector<std::string> LogLines()
{
    auto getLog =
        reinterpret_cast<TCRTest_GetLog>(reinterpret_cast<void*>(standinCall("CRTest_GetLog")));
    if (!getLog)
        return {};
    std::string text(static_cast<size_t>(getLog(nullptr, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(getLog(text.data(), static_cast<std::int32_t>(text.size()))));
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

int FindLine(const std::vector<std::string>& Lines, const std::string& Line, int From)
{
    for (int i = std::max(From, 0); i < static_cast<int>(Lines.size()); ++i)
        if (Lines[i] == Line)
            return i;
    return -1;
}

int CountLines(const std::vector<std::string>& Lines, const std::string& Prefix)
{
    int n = 0;
    for (const std::string& line : Lines)
        n += line.compare(0, Prefix.size(), Prefix) == 0;
    return n;
}

std::vector<std::uint8_t> PatternBytes(std::uint32_t FirstSector, std::uint32_t Bytes)
{
    std::vector<std::uint8_t> bytes(Bytes);
    std::uint32_t origin = FirstSector * 2352u;
    for (std::uint32_t i = 0; i < Bytes; ++i)
        bytes[i] = CRTestPatternByte(origin + i);
    return bytes;
}

void CDStandInTest::SetUp()
{
    InstallLibrary("cdrip_standin.dll");
    DeleteFileA(IniPath().c_str());
}

void CDStandInTest::TearDown()
{
    InstallLibrary("cdrip_standin.dll");
    DeleteFileA(IniPath().c_str());
}

} // namespace cd_test
