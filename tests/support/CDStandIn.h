// Test helpers for the CD input: the stand-in CD-ripping library put in place
// beside the test executable, configured and read in-process.
#pragma once

#include "support/cdrip_standin/CDRipStandIn.h"

#include "classlib/Types.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace cd_test {

// The test executable's folder, with a trailing backslash: where the program
// writes "cdr.ini" and loads the library from.
AnsiString ProgramFolder();
AnsiString IniPath();

// Puts one build of the stand-in ("cdrip_standin.dll", "cdrip_lacking.dll")
// in place as the library the program loads, or removes it. The binding is
// unloaded first.
void InstallLibrary(const char* Build);
void RemoveLibrary();

// A disc of audio tracks (flag 16) starting at the given sectors, the last
// start being the lead-out; one drive, a disc present.
CRTestDisc MakeDisc(const std::vector<std::uint32_t>& Starts);

// Calls into the loaded stand-in (the binding must be loaded).
void Configure(const CRTestDisc& Disc);
std::vector<std::string> LogLines();
// Index of the first log line equal to Line at or after From; -1 when none.
int FindLine(const std::vector<std::string>& Lines, const std::string& Line, int From = 0);
// Lines that start with Prefix.
int CountLines(const std::vector<std::string>& Lines, const std::string& Prefix);

// What the stand-in delivers for Bytes bytes from the first byte of a sector.
std::vector<std::uint8_t> PatternBytes(std::uint32_t FirstSector, std::uint32_t Bytes);

// Every test starts and ends with the full stand-in in place, the binding
// unloaded and no "cdr.ini".
class CDStandInTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace cd_test
