#include "dialogs/ql_record.h"

#include "support/FakeWaveInDevice.h"
#include "support/TempFolder.h"
#include "support/TestSeams.h"
#include "support/WavBytes.h"
#include "support/WindowDriver.h"

#include "editor/Settings.h"

#include "audio/PipeAudio.h"
#include "audio/PipeWave.h"

#include "classlib/FilePaths.h"
#include "classlib/Seams.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

constexpr std::int64_t kPlentyFree = 10LL * 1073741824;
// A minute at 8000 Hz, mono, 16 bits.
constexpr std::size_t kMinuteBytes = 60 * 8000 * 2;

// The file is a whole PCM WAV file of what the device recorded: its sizes
// match the bytes it holds, and those are the device's bytes in order.
void ExpectWholeRecording(const AnsiString& file)
{
    ASSERT_GE(file.size(), 44u);
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    EXPECT_EQ(LittleEndianU32(file, 4), file.size() - 8);
    EXPECT_EQ(LittleEndianU32(file, 40), file.size() - 44);
    for (std::size_t i = 44; i < file.size(); ++i)
        if (static_cast<std::uint8_t>(file[i]) != TFakeWaveInDevice::PatternByte(i - 44)) {
            ADD_FAILURE() << "recorded byte " << (i - 44) << " differs";
            break;
        }
}

class RecordWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Seams().WaveInDevices = [] { return std::vector<AnsiString>{"Fake In A", "Fake In B"}; };
        Seams().DiskFree = [this](const AnsiString& root) {
            askedRoot = root;
            return freeBytes.load();
        };
        Seams().FileDialog = [this](TFileDialogRequest& request) {
            request.FileName = chosen;
            return true;
        };
        option.InDevice = "Fake In B";
        option.InRate = 8000;
        option.InChannel = 1;
        option.Limit = true;
        option.LimitTime = 1;
    }
    void TearDown() override
    {
        FreeAndNil(form);
        PumpMessages();
    }
    TForm11* Open()
    {
        form = new TForm11(nullptr, option, device);
        form->Show();
        PumpMessages();
        return form;
    }
    bool WaitForBoxes(const ScriptedMessageBoxes& boxes, size_t count)
    {
        return PumpUntil([&] { return boxes.Shown().size() >= count && !form->Recording(); },
                         20000);
    }

    TFakeWaveInDevice device;
    TempFolder folder;
    AnsiString chosen = folder / "take"; // the dialog's answer; ".wav" is added
    AnsiString target = folder / "take.wav";
    std::atomic<std::int64_t> freeBytes{kPlentyFree};
    AnsiString askedRoot;
    TOption option;
    TForm11* form = nullptr;
};

} // namespace

TEST_F(RecordWindowTest, TheLastChoicesComeBack)
{
    struct Case
    {
        const char* Device;
        std::int32_t Rate, Channels;
        bool Limit;
        int DeviceIndex, RateIndex, ChannelIndex;
    };
    const Case cases[] = {
        {"Fake In B", 96000, 1, true, 1, 0, 0},
        {"Fake In A", 8000, 2, false, 0, 6, 1},
        {"gone", 12345, 3, false, 0, 2, 1},
    };
    for (const Case& c : cases) {
        option.InDevice = c.Device;
        option.InRate = c.Rate;
        option.InChannel = c.Channels;
        option.Limit = c.Limit;
        option.LimitTime = 7;
        Open();
        EXPECT_EQ(form->DeviceCombo->Items()->Count(), 2);
        EXPECT_EQ(form->DeviceCombo->ItemIndex(), c.DeviceIndex) << c.Device;
        EXPECT_EQ(form->RateCombo->ItemIndex(), c.RateIndex) << c.Rate;
        EXPECT_EQ(form->ChannelCombo->ItemIndex(), c.ChannelIndex) << c.Channels;
        EXPECT_EQ(form->LimitChk->Checked(), c.Limit);
        EXPECT_EQ(form->LimitSpin->Enabled(), c.Limit);
        EXPECT_EQ(form->LimitLabel->Enabled(), c.Limit);
        EXPECT_EQ(form->LimitSpin->AsInteger(), 7);
        FreeAndNil(form);
    }
}

TEST_F(RecordWindowTest, WithoutAnInputDeviceNothingCanBeRecorded)
{
    Seams().WaveInDevices = [] { return std::vector<AnsiString>{}; };
    ScriptedMessageBoxes boxes({IDOK});
    Open();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "録音可能なデバイスが存在しません");
    EXPECT_FALSE(form->RecordBtn->Enabled());
}

TEST_F(RecordWindowTest, ALimitEndsTheRecordingByItselfAndTheHeaderMatchesTheBytes)
{
    device.Delivery = TFakeWaveInDevice::TDelivery::OnDemand;
    Open();
    ScriptedMessageBoxes boxes({IDYES, IDNO});
    ClickCentre(form->RecordBtn);
    EXPECT_EQ(device.OpenedDeviceId, 1u);
    EXPECT_EQ(device.OpenedFormat.nSamplesPerSec, 8000u);
    EXPECT_EQ(device.OpenedFormat.nChannels, 1);
    EXPECT_EQ(device.OpenedFormat.wBitsPerSample, 16);
    EXPECT_EQ(form->AudioIn->RecTime(), 60);
    ASSERT_TRUE(WaitForBoxes(boxes, 2));
    EXPECT_EQ(boxes.Shown()[0].Text, "録音したファイルを保存しますか？");
    EXPECT_EQ(boxes.Shown()[0].Caption, "録音したファイルの保存");
    EXPECT_EQ(boxes.Shown()[1].Text, "このファイルを開きますか？");
    EXPECT_FALSE(form->FOpenAfter);
    EXPECT_EQ(form->RecordBtn->Caption(), "録音開始(&R)");
    EXPECT_TRUE(form->CloseBtn->Enabled());

    const AnsiString file = ReadWholeFile(target);
    EXPECT_GE(file.size() - 44, kMinuteBytes);
    EXPECT_LT(file.size() - 44, kMinuteBytes + TAudioIn::kDeviceBufferBytes);
    ExpectWholeRecording(file);
}

TEST_F(RecordWindowTest, StoppingEarlyAndSavingGivesAHeaderEqualToTheBytesRecorded)
{
    device.PaceMs = 20; // a buffer every 20 ms: the minute would take over a second
    for (bool limited : {true, false}) {
        option.Limit = limited;
        Open();
        ScriptedMessageBoxes boxes({IDYES, IDYES});
        ClickCentre(form->RecordBtn);
        EXPECT_EQ(form->RecordBtn->Caption(), "録音終了");
        EXPECT_FALSE(form->CloseBtn->Enabled());
        ASSERT_TRUE(PumpUntil([&] { return form->AudioIn->Position() > 0; }));
        ClickCentre(form->RecordBtn);
        ASSERT_TRUE(WaitForBoxes(boxes, 2));
        EXPECT_TRUE(form->FOpenAfter) << "the opener opens it";
        const AnsiString file = ReadWholeFile(target);
        EXPECT_LT(file.size() - 44, kMinuteBytes) << limited;
        ExpectWholeRecording(file);
        FreeAndNil(form);
        DeleteFileA(target.c_str());
    }
}

TEST_F(RecordWindowTest, NotSavingDeletesTheRecording)
{
    device.PaceMs = 20;
    Open();
    ScriptedMessageBoxes boxes({IDNO});
    ClickCentre(form->RecordBtn);
    ASSERT_TRUE(PumpUntil([&] { return form->AudioIn->Position() > 0; }));
    ClickCentre(form->RecordBtn);
    ASSERT_TRUE(WaitForBoxes(boxes, 1));
    EXPECT_FALSE(FileExists(target));
}

// Alt+R starts; the record button then holds the focus, so that Space or
// Enter stops, and reads as at the start again, so that Alt+R starts a
// second take.
TEST_F(RecordWindowTest, KeysAloneStartStopAndStartAgain)
{
    device.PaceMs = 20;
    Open();
    ASSERT_TRUE(ActivateForm(form));
    ScriptedMessageBoxes boxes({IDNO, IDNO});
    for (size_t take = 1; take <= 2; ++take) {
        RealKeyPress('R', ssAlt);
        ASSERT_TRUE(form->Recording()) << take;
        EXPECT_TRUE(form->RecordBtn->Focused()) << take;
        ASSERT_TRUE(PumpUntil([&] { return form->AudioIn->Position() > 0; }));
        RealKeyPress(take == 1 ? VK_SPACE : VK_RETURN);
        ASSERT_TRUE(WaitForBoxes(boxes, take));
        EXPECT_EQ(form->RecordBtn->Caption(), "録音開始(&R)");
    }
}

TEST_F(RecordWindowTest, ChoosingAnExistingFileAndAnsweringNoRecordsNothing)
{
    folder.WriteFile("take.wav", "keep me");
    Open();
    ScriptedMessageBoxes boxes({IDNO});
    ClickCentre(form->RecordBtn);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text,
              "同じ名前のファイルが存在します\rこのまま上書きしてもよろしいですか？");
    EXPECT_EQ(boxes.Shown()[0].Caption, "上書き確認");
    EXPECT_EQ(boxes.Shown()[0].Flags, UINT(MB_YESNO | MB_ICONWARNING));
    EXPECT_FALSE(form->Recording());
    EXPECT_TRUE(device.OpenFlags.empty());
    EXPECT_EQ(ReadWholeFile(target), "keep me");
}

TEST_F(RecordWindowTest, ANearlyFullDiskEndsTheRecordingWithAWholeFile)
{
    device.PaceMs = 20;
    freeBytes = 2LL * 1073741824;
    Open();
    ClickCentre(form->RecordBtn);
    ASSERT_TRUE(PumpUntil([&] { return form->CanLabel->Caption() != "---"; }));
    EXPECT_EQ(form->CanLabel->Caption(), "2230:49 ( 残り容量 2.00 GB )");
    EXPECT_EQ(askedRoot, target.substr(0, 1) + ":\\");
    ScriptedMessageBoxes boxes({IDOK});
    freeBytes = 1048575;
    ASSERT_TRUE(WaitForBoxes(boxes, 1));
    EXPECT_EQ(boxes.Shown()[0].Text, "録音可能なディスクスペースがありません");
    EXPECT_TRUE(form->CloseBtn->Enabled());
    ExpectWholeRecording(ReadWholeFile(target));
}

TEST_F(RecordWindowTest, ADeviceThatCannotOpenSaysSoAndLeavesNoFile)
{
    device.OpenResult = MMSYSERR_ALLOCATED;
    Open();
    ScriptedMessageBoxes boxes({IDOK});
    ClickCentre(form->RecordBtn);
    ASSERT_TRUE(WaitForBoxes(boxes, 1));
    EXPECT_EQ(boxes.Shown()[0].Text, "Cannot open the input device.");
    EXPECT_FALSE(form->Recording());
    EXPECT_TRUE(form->DeviceCombo->Enabled());
    EXPECT_FALSE(FileExists(target));
}

TEST_F(RecordWindowTest, WhileRecordingTheLimitAndTheWindowStay)
{
    device.PaceMs = 20;
    Open();
    ClickCentre(form->RecordBtn);
    ClickCentre(form->LimitChk);
    EXPECT_TRUE(form->LimitChk->Checked());
    EXPECT_TRUE(form->LimitSpin->Enabled());
    form->Close();
    EXPECT_TRUE(form->Visible());
    ScriptedMessageBoxes boxes({IDNO});
    ClickCentre(form->RecordBtn);
    ASSERT_TRUE(WaitForBoxes(boxes, 1));
    ClickCentre(form->LimitChk);
    EXPECT_FALSE(form->LimitChk->Checked());
    EXPECT_FALSE(form->LimitSpin->Enabled());
}
