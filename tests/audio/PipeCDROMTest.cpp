#include "support/CDStandIn.h"
#include "PipeTestInput.h"

#include "audio/PipeCDROM.h"
#include "audio/PipeWave.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

using namespace cd_test;

namespace {

// Tracks 1, 2 and 4 hold audio, track 3 data; the lead-out follows track 4.
constexpr std::uint32_t kTrackStart[] = {150, 600, 1000, 1500, 1800};
constexpr std::int32_t kSectorBytes = 2352;

class PipeCDROMTest : public CDStandInTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CDStandInTest::SetUp());
        cd = new TCDIn(&owner);
        disc = MakeDisc({std::begin(kTrackStart), std::end(kTrackStart)});
        disc.Entries[2].Flag = 4;
        Configure(disc);
    }
    void TearDown() override
    {
        owner.DestroyComponents();
        CDStandInTest::TearDown();
    }

    void SetRange(int start, int end)
    {
        cd->SetStartTrack(start);
        cd->SetEndTrack(end);
    }
    // Runs Action, which must raise EPipeException with Message.
    static void ExpectRefusal(const std::function<void()>& Action, const char* Message)
    {
        try {
            Action();
            ADD_FAILURE() << "no error, expected \"" << Message << "\"";
        } catch (const EPipeException& e) {
            EXPECT_STREQ(e.what(), Message);
        }
    }
    // The drive is selected again by the next question: nothing holds it.
    void ExpectDriveReleased(int drive)
    {
        Configure(disc);
        cd->GetStatus();
        EXPECT_EQ(FindLine(LogLines(), "CR_SetActiveCDROM(" + std::to_string(drive) + ")"), 0);
    }

    TComponent owner{nullptr};
    TCDIn* cd = nullptr; // owned by owner
    CRTestDisc disc;     // what the stand-in serves
};

TEST_F(PipeCDROMTest, DriveChoiceIsPassedOnAndOutOfRangeValuesAreIgnored)
{
    disc.DriveCount = 2;
    Configure(disc);
    cd->SetCurrentDrive(1);
    EXPECT_EQ(cd->CurrentDrive(), 1);
    cd->SetCurrentDrive(5);
    cd->SetCurrentDrive(-1);
    EXPECT_EQ(cd->CurrentDrive(), 1);

    Configure(disc);
    EXPECT_EQ(cd->GetStatus(), 1);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"CR_SetActiveCDROM(1)", "CR_IsMediaLoaded(0)",
                                                    "CR_IsAudioPlaying()"}));
    // Nested use selects the drive once.
    cd->OpenDrive();
    Configure(disc);
    cd->GetStatus();
    cd->CloseDrive();
    EXPECT_EQ(CountLines(LogLines(), "CR_SetActiveCDROM"), 0);

    disc.AudioPlaying = TRUE;
    Configure(disc);
    EXPECT_EQ(cd->GetStatus(), 2);
    disc.MediaStatus = 1;
    Configure(disc);
    EXPECT_EQ(cd->GetStatus(), 0);
}

TEST_F(PipeCDROMTest, TrackLengthsAndSizesComeFromTheTableOfContents)
{
    EXPECT_EQ(cd->GetTrackCount(), 4);
    struct Expected
    {
        int minute, second, frame;
        bool data;
    };
    const Expected expected[] = {
        {0, 6, 0, false}, {0, 5, 25, false}, {0, 6, 50, true}, {0, 4, 0, false}};
    for (int track = 1; track <= 4; ++track) {
        TCDTrackInfo info = cd->GetTrackInfo(track);
        const Expected& e = expected[track - 1];
        EXPECT_EQ(info.Length.Minute, e.minute) << track;
        EXPECT_EQ(info.Length.Second, e.second) << track;
        EXPECT_EQ(info.Length.Frame, e.frame) << track;
        EXPECT_EQ(info.IsData, e.data) << track;
    }
    ExpectRefusal([&] { cd->GetTrackInfo(0); }, "Track out of range.");
    ExpectRefusal([&] { cd->GetTrackInfo(5); }, "Track out of range.");

    SetRange(2, 4);
    EXPECT_EQ(cd->GetSize(), (1800 - 600) * kSectorBytes);
    SetRange(4, 4); // the last track ends at the lead-out
    EXPECT_EQ(cd->GetSize(), 300 * kSectorBytes);
    SetRange(3, 2);
    EXPECT_EQ(cd->GetSize(), 0);

    disc.ReadTocResult = 1;
    Configure(disc);
    EXPECT_EQ(cd->GetTrackCount(), -1);
    ExpectRefusal([&] { cd->GetTrackInfo(1); }, "Track out of range.");
}

TEST_F(PipeCDROMTest, OpenRangeRipsItsSectorsOnTheChosenDriveAndRefusesChanges)
{
    disc.DriveCount = 2;
    Configure(disc);
    cd->SetCurrentDrive(1);
    SetRange(2, 4);
    Configure(disc);
    cd->OpenInput();
    std::vector<std::string> log = LogLines();
    EXPECT_EQ(FindLine(log, "CR_SetActiveCDROM(1)"), 0);
    EXPECT_EQ(CountLines(log, "CR_SetActiveCDROM"), 1);
    EXPECT_EQ(log.back(), "CR_OpenRipper(176400,600,1800)");
    EXPECT_TRUE(cd->Busy());
    EXPECT_EQ(cd->Size(), 1200 * kSectorBytes);
    EXPECT_EQ(cd->Position(), 0);

    ExpectRefusal([&] { cd->SetStartTrack(1); }, "The component is buisy");
    ExpectRefusal([&] { cd->SetEndTrack(2); }, "The component is busy");
    ExpectRefusal([&] { cd->Eject(); }, "The component is busy");
    ExpectRefusal([&] { cd->OpenInput(); }, "The component is busy");
    EXPECT_EQ(cd->StartTrack(), 2);
    EXPECT_EQ(cd->EndTrack(), 4);
    Configure(MakeDisc({0, 10}));
    EXPECT_EQ(cd->GetSize(), 1200 * kSectorBytes); // the open range's, not the new disc's
    cd->CloseTray();
    EXPECT_EQ(LogLines(), std::vector<std::string>{"CR_EjectCD(0)"});

    cd->CloseInput();
    EXPECT_EQ(LogLines().back(), "CR_CloseRipper()");
    EXPECT_FALSE(cd->Busy());
    EXPECT_EQ(cd->Size(), 0);
    std::uint8_t byte;
    ExpectRefusal([&] { cd->ReadData(&byte, 1); }, "The Stream is not opened");
    ExpectDriveReleased(1);
    cd->Eject();
    EXPECT_EQ(LogLines().back(), "CR_EjectCD(-1)");
}

TEST_F(PipeCDROMTest, OpenInputRefusesWhatCannotBeRippedAndHoldsNothing)
{
    struct Case
    {
        const char* what;
        int start, end;
        std::function<void(CRTestDisc&)> change;
        const char* message;
    };
    auto none = [](CRTestDisc&) {};
    const Case cases[] = {
        {"no disc", 1, 1, [](CRTestDisc& d) { d.MediaStatus = 1; }, "The drive is not ready"},
        {"unreadable contents", 1, 1, [](CRTestDisc& d) { d.ReadTocResult = 5; },
         "The start track out of range"},
        {"start 0", 0, 1, none, "The start track out of range"},
        {"start after the last", 5, 5, none, "The start track out of range"},
        {"data track", 3, 3, none, "Trying to rip a data track"},
        {"end before start", 2, 1, none, "The end track out of range"},
        {"end after the last", 2, 5, none, "The end track out of range"},
        {"sectors backwards", 1, 1, [](CRTestDisc& d) { d.Entries[1].StartSector = 100; },
         "The end track out of range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRTestDisc changed = disc;
        c.change(changed);
        Configure(changed);
        SetRange(c.start, c.end);
        ExpectRefusal([&] { cd->OpenInput(); }, c.message);
        EXPECT_FALSE(cd->Busy());
        EXPECT_EQ(cd->Size(), 0);
        EXPECT_EQ(CountLines(LogLines(), "CR_OpenRipper"), 0);
        ExpectDriveReleased(0);
    }
}

TEST_F(PipeCDROMTest, ChunksAreServedInPiecesAndTheLibrarysCountIsNotTrusted)
{
    disc.ChunkBytes = 1000;
    Configure(disc);
    SetRange(1, 1);
    cd->OpenInput();
    std::vector<std::uint8_t> got(3000);
    int at = 0;
    for (int expected : {700, 300, 700, 300, 700, 300}) {
        int n = cd->ReadData(got.data() + at, 700);
        EXPECT_EQ(n, expected);
        at += n;
    }
    EXPECT_EQ(cd->Position(), 3000);
    EXPECT_EQ(got, PatternBytes(150, 3000));
    cd->CloseInput();

    disc.ChunkBytes = 0;
    disc.ReportCount = 1000000; // more than the buffer holds
    Configure(disc);
    cd->OpenInput();
    std::vector<std::uint8_t> big(400000);
    EXPECT_EQ(cd->ReadData(big.data(), 400000), 176400);
    cd->CloseInput();

    disc.ReportCount = -5;
    Configure(disc);
    cd->OpenInput();
    EXPECT_EQ(cd->ReadData(big.data(), 400000), 0);
    EXPECT_EQ(cd->Position(), 0);
    cd->CloseInput();
}

TEST_F(PipeCDROMTest, ABufferSizeTheLibraryAnswersWithIsHonouredOrRefused)
{
    disc.RipperBufferBytes = 2 * 176400; // a library that fills two seconds a chunk
    Configure(disc);
    SetRange(1, 1);
    cd->OpenInput();
    std::vector<std::uint8_t> got(400000);
    EXPECT_EQ(cd->ReadData(got.data(), 400000), 352800);
    got.resize(352800);
    EXPECT_EQ(got, PatternBytes(150, 352800));
    cd->CloseInput();

    for (std::int32_t unusable : {-1, 64 * 1024 * 1024}) {
        disc.RipperBufferBytes = unusable;
        Configure(disc);
        try {
            cd->OpenInput();
            ADD_FAILURE() << "a buffer of " << unusable << " bytes was accepted";
        } catch (const EPipeException& e) {
            EXPECT_STREQ(e.what(), PipeText::RipBufferUnusable);
        }
        EXPECT_FALSE(cd->Busy());
        EXPECT_EQ(cd->Size(), 0);
    }
}

class CDRipRunTest : public PipeCDROMTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(PipeCDROMTest::SetUp());
        writer = new TWaveOut(&owner);
        writer->SetInput(cd);
        writer->SetFileName(folder / "Track.wav");
        writer->OnDone = [this](TComponent*) { ++done; };
        writer->OnProgress = [this](TComponent*) { progress.push_back(writer->GetProgress()); };
    }
    void TearDown() override
    {
        owner.DestroyComponents();
        PipeCDROMTest::TearDown();
    }
    void RunToEnd()
    {
        writer->Run();
        ASSERT_TRUE(writer->WaitForIdle(20000));
    }
    // The file's sample bytes, after checking that its header describes them.
    std::vector<std::uint8_t> SamplesOfFile()
    {
        AnsiString file = folder.ReadFile("Track.wav");
        EXPECT_GE(file.size(), 44u);
        if (file.size() < 44)
            return {};
        EXPECT_EQ(file.substr(0, 4), "RIFF");
        EXPECT_EQ(pipe_test::U32At(file, 4), file.size() - 8);
        EXPECT_EQ(file.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(pipe_test::U16At(file, 20), 1);      // PCM
        EXPECT_EQ(pipe_test::U16At(file, 22), 2);      // stereo
        EXPECT_EQ(pipe_test::U32At(file, 24), 44100u); // Hz
        EXPECT_EQ(pipe_test::U32At(file, 28), 176400u);
        EXPECT_EQ(pipe_test::U16At(file, 32), 4);
        EXPECT_EQ(pipe_test::U16At(file, 34), 16);
        EXPECT_EQ(file.substr(36, 4), "data");
        EXPECT_EQ(pipe_test::U32At(file, 40), file.size() - 44);
        return std::vector<std::uint8_t>(file.begin() + 44, file.end());
    }

    testing_support::TempFolder folder;
    TWaveOut* writer = nullptr; // owned by owner
    int done = 0;
    std::vector<int> progress;
};

TEST_F(CDRipRunTest, LastTrackRipsToTheLeadOutByteForByte)
{
    SetRange(4, 4);
    Configure(disc);
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(done, 1);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
    std::vector<std::uint8_t> samples = SamplesOfFile();
    EXPECT_EQ(samples.size(), 300u * kSectorBytes);
    EXPECT_TRUE(samples == PatternBytes(1500, 300 * kSectorBytes)) << "samples differ";
    std::vector<std::string> log = LogLines();
    int open = FindLine(log, "CR_OpenRipper(176400,1500,1800)");
    EXPECT_GE(open, 0);
    EXPECT_EQ(CountLines(log, "CR_RipChunk(176400)"), 4);
    EXPECT_EQ(FindLine(log, "CR_RipChunk(0)", open), static_cast<int>(log.size()) - 2);
    EXPECT_EQ(log.back(), "CR_CloseRipper()");
    EXPECT_FALSE(cd->Busy());
    ExpectDriveReleased(0);
}

TEST_F(CDRipRunTest, StopMidTrackLeavesTheBytesRippedSoFarInAConsistentFile)
{
    SetRange(1, 2);
    const std::uint32_t whole = (1000 - 150) * kSectorBytes;
    writer->OnProgress = [this](TComponent*) {
        progress.push_back(writer->GetProgress());
        if (progress.back() >= 40)
            writer->Stop();
    };
    Configure(disc);
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(done, 1);
    std::vector<std::uint8_t> samples = SamplesOfFile();
    EXPECT_GT(samples.size(), whole / 3);
    EXPECT_LT(samples.size(), whole / 2);
    EXPECT_TRUE(samples == PatternBytes(150, static_cast<std::uint32_t>(samples.size())))
        << "samples differ";
    EXPECT_EQ(LogLines().back(), "CR_CloseRipper()");
    EXPECT_FALSE(cd->Busy());
    ExpectDriveReleased(0);
}

TEST_F(CDRipRunTest, RangeTheLibraryEndsEarlyKeepsWhatItDelivered)
{
    SetRange(1, 1);
    disc.CutAfterBytes = 100000;
    Configure(disc);
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(done, 1);
    std::vector<std::uint8_t> samples = SamplesOfFile();
    EXPECT_TRUE(samples == PatternBytes(150, 100000)) << "samples differ, " << samples.size();
}

TEST_F(CDRipRunTest, RefusalReachesTheThreadExceptionHandlerAndARetrySucceeds)
{
    SetRange(1, 1);
    std::vector<AnsiString> errors;
    writer->OnThreadException = [&](TComponent*, std::exception_ptr e) {
        errors.push_back(ExceptionMessage(e));
    };
    disc.MediaStatus = 1;
    Configure(disc);
    writer->Run();
    ASSERT_TRUE(writer->WaitForIdle(20000));
    EXPECT_EQ(errors, std::vector<AnsiString>{"The drive is not ready"});
    EXPECT_EQ(done, 0);
    EXPECT_FALSE(cd->Busy());

    disc.MediaStatus = 0;
    Configure(disc);
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(done, 1);
    EXPECT_EQ(SamplesOfFile().size(), 450u * kSectorBytes);
}

} // namespace
