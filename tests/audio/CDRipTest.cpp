#include "support/CDStandIn.h"

#include "audio/CDRip.h"
#include "audio/PipeCDROM.h"

#include "classlib/FilePaths.h"
#include "classlib/IniFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace cd_test;

namespace {

class CDRipTest : public CDStandInTest
{
};

TEST(CDTime, FramesAndMinutesSecondsFramesConvertBothWays)
{
    struct Case
    {
        std::uint32_t frames;
        int minute, second, frame;
    };
    for (Case c : {Case{0, 0, 0, 0}, Case{74, 0, 0, 74}, Case{75, 0, 1, 0}, Case{4499, 0, 59, 74},
                   Case{4500, 1, 0, 0}, Case{74 * 4500 + 59 * 75 + 74, 74, 59, 74}}) {
        TCDMSF msf = FramesToMSF(c.frames);
        EXPECT_EQ(msf.Minute, c.minute) << c.frames;
        EXPECT_EQ(msf.Second, c.second) << c.frames;
        EXPECT_EQ(msf.Frame, c.frame) << c.frames;
        EXPECT_EQ(MSFToFrames(msf), c.frames);
    }
}

TEST(CDRipIni, TransportLayerFollowsThePlatform)
{
    EXPECT_EQ(CDRipTransportLayerFor(VER_PLATFORM_WIN32_WINDOWS), 0);
    EXPECT_EQ(CDRipTransportLayerFor(VER_PLATFORM_WIN32_NT), 1);
    EXPECT_EQ(CDRipTransportLayerFor(VER_PLATFORM_WIN32s), std::nullopt);
}

TEST_F(CDRipTest, SettingsFileIsWrittenBeforeInitAndInitGetsItsFullPath)
{
    testing_support::WriteWholeFile(IniPath(), "[Other]\r\nnActive=7\r\n[cd-rom]\r\nNACTIVE=2\r\n"
                                               "nSpeed=4\r\n");
    CDRipLoadLibrary(ProgramFolder());
    ASSERT_TRUE(CDRipLoaded());
    std::vector<std::string> log = LogLines();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "CR_Init(" + IniPath() + ")");
    // What the library found in the file when CR_Init ran (Wine is Windows NT).
    EXPECT_EQ(log[1], "  ini: [Other]|nActive=7||[cd-rom]|NACTIVE=0|nSpeed=4|nTransportLayer=1|");
}

TEST_F(CDRipTest, SettingsFileThatCannotBeWrittenIsRefusedBeforeInit)
{
    ASSERT_TRUE(CreateDir(IniPath())); // a folder where the file should be
    TComponent owner(nullptr);
    EXPECT_THROW(new TCDIn(&owner), EIniFileException);
    RemoveDir(IniPath());
    ASSERT_TRUE(CDRipLoaded());
    EXPECT_EQ(CountLines(LogLines(), "CR_Init"), 0);
    // Once the file can be written, the next construction initialises.
    TCDIn input(nullptr);
    EXPECT_EQ(CountLines(LogLines(), "CR_Init"), 1);
}

TEST_F(CDRipTest, EveryConstructionInitialisesAgainOverOneModuleReference)
{
    TComponent owner(nullptr);
    new TCDIn(&owner);
    Configure(MakeDisc({150, 300}));
    new TCDIn(&owner);
    std::vector<std::string> log = LogLines();
    EXPECT_EQ(FindLine(log, "CR_Init(" + IniPath() + ")"), 0);
    EXPECT_EQ(CountLines(log, "CR_DeInit"), 0);

    // One extra reference keeps the module (and its log) after the unload.
    HMODULE extra = LoadLibraryA(CDRipLibraryName);
    CDRipUnloadLibrary();
    EXPECT_FALSE(CDRipLoaded());
    EXPECT_EQ(CR_RipChunk, nullptr);
    auto getLog = reinterpret_cast<TCRTest_GetLog>(
        reinterpret_cast<void*>(GetProcAddress(extra, "CRTest_GetLog")));
    char text[256];
    getLog(text, sizeof(text));
    EXPECT_STREQ(text, ("CR_Init(" + IniPath() +
                        ")\n  ini: [CD-ROM]|nActive=0|nTransportLayer=1|\n"
                        "CR_DeInit()\n")
                           .c_str());
    FreeLibrary(extra);
    EXPECT_EQ(GetModuleHandleA(CDRipLibraryName), nullptr);
}

TEST_F(CDRipTest, TableOfContentsEntryComesBackInEdxEax)
{
    CDRipLoadLibrary(ProgramFolder());
    ASSERT_TRUE(CDRipLoaded());
    CRTestDisc disc = MakeDisc({150, 0x89ABCDEF, 0xFFFFFFF0});
    disc.Entries[1].Flag = 0x5A;
    disc.Entries[1].TrackNumber = 0x7E;
    Configure(disc);
    for (int round = 0; round < 3; ++round) { // the stack stays balanced call after call
        TCDTocEntry e = CDRipTocEntry(1);
        EXPECT_EQ(e.StartSector, 0x89ABCDEFu);
        EXPECT_EQ(e.Flag, 0x5A);
        EXPECT_EQ(e.TrackNumber, 0x7E);
        TCDTocEntry leadOut = CDRipTocEntry(2);
        EXPECT_EQ(leadOut.StartSector, 0xFFFFFFF0u);
        EXPECT_EQ(leadOut.Flag, 16);
        EXPECT_EQ(leadOut.TrackNumber, 0xAA);
    }
    std::vector<std::string> log = LogLines();
    EXPECT_EQ(log.front(), "CR_GetTocEntry(1)");
    EXPECT_EQ(log.back(), "CR_GetTocEntry(2)");
}

TEST_F(CDRipTest, NoLibraryRefusesWithoutWritingAnything)
{
    RemoveLibrary();
    CDRipLoadLibrary(ProgramFolder());
    EXPECT_FALSE(CDRipLoaded());
    EXPECT_EQ(CR_Init, nullptr);
    EXPECT_FALSE(FileExists(IniPath()));
    TComponent owner(nullptr);
    try {
        new TCDIn(&owner);
        FAIL() << "no error";
    } catch (const EPipeException& e) {
        EXPECT_STREQ(e.what(), "cdrip.dll could not be loaded.");
    }
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST_F(CDRipTest, LibraryLackingACallIsRefusedAndUnloaded)
{
    InstallLibrary("cdrip_lacking.dll");
    CDRipLoadLibrary(ProgramFolder());
    EXPECT_FALSE(CDRipLoaded());
    EXPECT_EQ(GetModuleHandleA(CDRipLibraryName), nullptr);
    for (void* call : {reinterpret_cast<void*>(CR_Init), reinterpret_cast<void*>(CR_ReadToc),
                       reinterpret_cast<void*>(CR_RipChunk)})
        EXPECT_EQ(call, nullptr);
    EXPECT_EQ(CDRipEntryPoint("CR_ScanForC2Errors"), nullptr);
    try {
        TCDIn input(nullptr);
        FAIL() << "no error";
    } catch (const EPipeException& e) {
        EXPECT_STREQ(e.what(), "cdrip.dll could not be loaded.");
    }

    // The complete library loads after it, with the calls the program never makes.
    InstallLibrary("cdrip_standin.dll");
    CDRipLoadLibrary(ProgramFolder());
    EXPECT_TRUE(CDRipLoaded());
    EXPECT_NE(CDRipEntryPoint("CR_ScanForC2Errors"), nullptr);
    EXPECT_EQ(CDRipEntryPoint("CR_NoSuchCall"), nullptr);
}

} // namespace
