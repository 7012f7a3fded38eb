#include "PipeTestInput.h"

#include "audio/DirectWavEngine.h"
#include "audio/PipeAudio.h"
#include "audio/PipeIndicator.h"
#include "audio/PipeWave.h"
#include "classlib/Seams.h"
#include "support/FakeWaveInDevice.h"
#include "support/TempFolder.h"
#include "support/TestSeams.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace pipe_test;
using testing_support::ReadWholeFile;
using testing_support::ScopedFastTicks;
using testing_support::TempFolder;
using testing_support::TFakeWaveInDevice;

namespace {

AnsiString MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EPipeException& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

void SetFormat(TAudioIn& in, int bits, int channels, int rate, int seconds)
{
    in.SetInBitsPerSample(bits);
    in.SetInChannels(channels);
    in.SetInSampleRate(rate);
    in.SetRecTime(seconds);
}

// Reads until the input is exhausted, Count bytes at a time.
std::vector<std::uint8_t> ReadAll(TPipeInput& in, int count)
{
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> chunk(count);
    while (int n = in.ReadData(chunk.data(), count))
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + n);
    return bytes;
}

// ---- Against a fake device ----------------------------------------------------

TEST(AudioInTest, DefaultsAndTheByteLimitOfEachFormat)
{
    TFakeWaveInDevice device;
    device.Delivery = TFakeWaveInDevice::TDelivery::Never;
    TAudioIn in(nullptr, device);
    EXPECT_EQ(in.BaseChannel(), 0);
    EXPECT_EQ(in.GetBitsPerSample(), 8);
    EXPECT_EQ(in.GetChannels(), 1);
    EXPECT_EQ(in.GetSampleRate(), 8000);
    EXPECT_EQ(in.GetDuration(), 600);
    EXPECT_EQ(in.Size(), -1);

    struct Case
    {
        int bits, channels, rate, seconds;
        std::int32_t size;
    };
    const Case cases[] = {
        {8, 1, 8000, 600, 4800000},
        {16, 2, 44100, 60, 60 * 44100 * 4},
        {16, 2, 44100, -1, -1},
        // Beyond 2 GiB: the largest whole number of frames a WAV file holds.
        {16, 2, 96000, 6000, 2147483600},
        {16, 3, 96000, 100000, 2147483598},
    };
    for (const Case& c : cases) {
        SetFormat(in, c.bits, c.channels, c.rate, c.seconds);
        in.OpenInput();
        EXPECT_EQ(in.Size(), c.size) << c.bits << " bits, " << c.channels << " channels";
        in.CloseInput();
    }
    const WAVEFORMATEX& f = device.OpenedFormat;
    EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(f.nBlockAlign, 6);
    EXPECT_EQ(f.nAvgBytesPerSec, 96000u * 6);
    EXPECT_EQ(device.OpenFlags.back(), DWORD{CALLBACK_FUNCTION | WAVE_MAPPED});
}

TEST(AudioInTest, RefusesWhatThePipelineForbids)
{
    Seams().WaveInDevices = [] { return std::vector<AnsiString>{"Line", "Mic"}; };
    TFakeWaveInDevice device;
    device.Delivery = TFakeWaveInDevice::TDelivery::Never;
    TAudioIn in(nullptr, device);
    in.SetBaseChannel(1);
    EXPECT_EQ(MessageOf([&] { in.SetBaseChannel(2); }), "Channel 2 is not available");
    EXPECT_EQ(in.BaseChannel(), 1);
    std::uint8_t byte;
    EXPECT_EQ(MessageOf([&] { in.ReadData(&byte, 1); }), "The Stream is not opened");

    in.OpenInput();
    EXPECT_EQ(device.OpenedDeviceId, 1u);
    EXPECT_EQ(MessageOf([&] { in.OpenInput(); }), "The component is busy");
    EXPECT_EQ(MessageOf([&] { in.SetBaseChannel(0); }), "Component is buisy");
    in.CloseInput();

    Seams().WaveInDevices = [] { return std::vector<AnsiString>{}; };
    EXPECT_EQ(TAudioIn::DeviceCount(), 0);
    EXPECT_EQ(MessageOf([&] { in.SetBaseChannel(0); }), "Channel 0 is not available");
}

TEST(AudioInTest, ADeviceThatWillNotOpenOrStartRaisesAndLeavesNothingOpen)
{
    TFakeWaveInDevice refusing;
    refusing.OpenResult = MMSYSERR_BADDEVICEID;
    TAudioIn in(nullptr, refusing);
    EXPECT_EQ(MessageOf([&] { in.OpenInput(); }), "Cannot open the input device.");
    EXPECT_FALSE(in.Busy());
    // Under Wine the mapper is tried first, then the device itself.
    EXPECT_EQ(refusing.OpenFlags,
              (std::vector<DWORD>{CALLBACK_FUNCTION | WAVE_MAPPED, CALLBACK_FUNCTION}));

    TFakeWaveInDevice mapperRefuses;
    mapperRefuses.MappedOpenResult = WAVERR_BADFORMAT;
    mapperRefuses.Delivery = TFakeWaveInDevice::TDelivery::OnDemand;
    TAudioIn retried(nullptr, mapperRefuses);
    retried.OpenInput();
    std::uint8_t chunk[100];
    EXPECT_EQ(retried.ReadData(chunk, sizeof(chunk)), 100);
    retried.CloseInput();

    TFakeWaveInDevice notStarting;
    notStarting.StartResult = MMSYSERR_NOMEM;
    TAudioIn unstarted(nullptr, notStarting);
    EXPECT_EQ(MessageOf([&] { unstarted.OpenInput(); }), "Cannot open the input device.");
    EXPECT_FALSE(unstarted.Busy());
    EXPECT_EQ(notStarting.Closes, 1);
}

TEST(AudioInTest, AFailedOpenEndsTheWritersRunWithTheError)
{
    TempFolder folder;
    TFakeWaveInDevice device;
    device.OpenResult = MMSYSERR_NODRIVER;
    TAudioIn in(nullptr, device);
    TSoundIndicator meter(nullptr);
    meter.SetInput(&in);
    TWaveOut out(nullptr);
    out.SetInput(&meter);
    out.SetFileName(folder / "rec.wav");
    AnsiString error;
    int done = 0;
    out.OnThreadException = [&](TComponent*, std::exception_ptr e) { error = ExceptionMessage(e); };
    out.OnDone = [&](TComponent*) { ++done; };
    out.Run();
    EXPECT_EQ(error, "Cannot open the input device.");
    EXPECT_TRUE(out.WaitForIdle(10000));
    EXPECT_EQ(done, 0);
    EXPECT_FALSE(in.Busy());
    EXPECT_FALSE(meter.Busy());
}

TEST(AudioInTest, DeliversTheDevicesBytesInOrderUpToTheLimit)
{
    TFakeWaveInDevice device;
    device.EmptyEvery = 3; // empty buffers are skipped, not taken for the end
    TAudioIn in(nullptr, device);
    SetFormat(in, 8, 1, 8000, 3);
    in.OpenInput();
    ASSERT_EQ(in.Size(), 24000);
    std::vector<std::uint8_t> bytes = ReadAll(in, 3000);
    // The limit is tested before each read, so the last read may pass it.
    EXPECT_GE(bytes.size(), 24000u);
    EXPECT_LT(bytes.size(), 24000u + 3000);
    EXPECT_EQ(in.Position(), static_cast<std::int32_t>(bytes.size()));
    bool inOrder = true;
    for (size_t i = 0; i < bytes.size(); ++i)
        inOrder = inOrder && bytes[i] == TFakeWaveInDevice::PatternByte(i);
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(device.MaxQueued, TAudioIn::kQueuedBuffers);
    in.CloseInput();
    EXPECT_FALSE(in.Busy());
    EXPECT_EQ(device.Resets, 1);
    EXPECT_EQ(device.Closes, 1);
    EXPECT_EQ(device.PreparedNow, 0);

    SetFormat(in, 8, 1, 8000, 1);
    in.OpenInput();
    bytes = ReadAll(in, 16384 - 100);
    EXPECT_EQ(bytes.size(), 16384u - 100); // one read, begun below the limit
    in.CloseInput();
    EXPECT_EQ(device.PreparedNow, 0);
}

TEST(AudioInTest, ADeviceThatHandsNothingBackEndsTheRecordingAndStillCloses)
{
    ScopedFastTicks fast(60000); // every wait's limit passes at once
    TFakeWaveInDevice device;
    device.Delivery = TFakeWaveInDevice::TDelivery::Never;
    device.KeepOnReset = true;
    TAudioIn in(nullptr, device);
    SetFormat(in, 16, 2, 44100, -1);
    in.OpenInput();
    std::uint8_t chunk[4096];
    EXPECT_EQ(in.ReadData(chunk, sizeof(chunk)), 0);
    in.CloseInput();
    EXPECT_FALSE(in.Busy());

    // A failing driver that hands every buffer back at once, empty.
    TFakeWaveInDevice failing;
    failing.Delivery = TFakeWaveInDevice::TDelivery::OnDemand;
    failing.EmptyEvery = 1;
    TAudioIn broken(nullptr, failing);
    SetFormat(broken, 16, 2, 44100, -1);
    broken.OpenInput();
    EXPECT_EQ(broken.ReadData(chunk, sizeof(chunk)), 0);
    broken.CloseInput();
    EXPECT_EQ(failing.PreparedNow, 0);
}

TEST(AudioInTest, BuffersABrokenDriverHandsBackAfterTheRecorderIsGoneReachNothing)
{
    TFakeWaveInDevice device;
    device.Delivery = TFakeWaveInDevice::TDelivery::Never;
    device.KeepOnReset = true;
    device.FillPattern = false;
    {
        ScopedFastTicks fast(60000);
        TAudioIn in(nullptr, device);
        SetFormat(in, 16, 2, 44100, -1);
        in.OpenInput();
        std::uint8_t nothing[16];
        EXPECT_EQ(in.ReadData(nothing, sizeof(nothing)), 0); // queues buffers, none come back
        in.CloseInput(); // gives up on the held buffers after its bounded wait
    }
    // Another recorder, likely at the same address, must not receive them.
    TFakeWaveInDevice other;
    other.Delivery = TFakeWaveInDevice::TDelivery::OnDemand;
    TAudioIn next(nullptr, other);
    ASSERT_GT(device.MaxQueued.load(), 0);
    SetFormat(next, 16, 2, 44100, 1);
    next.OpenInput();
    device.HandBackHeld();
    std::uint8_t chunk[4096];
    ASSERT_EQ(next.ReadData(chunk, sizeof(chunk)), static_cast<int>(sizeof(chunk)));
    for (size_t i = 0; i < sizeof(chunk); ++i)
        ASSERT_EQ(chunk[i], TFakeWaveInDevice::PatternByte(i)) << "at byte " << i;
    next.CloseInput();
    EXPECT_EQ(other.PreparedNow, 0);
}

// A recorder that has already delivered most of what a WAV file holds.
class TAudioInNearItsCap : public TAudioIn
{
public:
    using TAudioIn::TAudioIn;
    void SkipTo(std::int32_t position) { FPosition = position; }
};

TEST(AudioInTest, StopsAtTheLargestWholeFrameCountAWavFileHolds)
{
    constexpr std::int32_t kCap = 2147483600; // whole frames of 4 bytes
    constexpr std::int32_t kStart = kCap - 3 * TAudioIn::kDeviceBufferBytes - 400;
    TFakeWaveInDevice device;
    device.Delivery = TFakeWaveInDevice::TDelivery::OnDemand;
    device.FillPattern = false;
    TAudioInNearItsCap in(nullptr, device);
    SetFormat(in, 16, 2, 96000, -1);
    in.OpenInput();
    EXPECT_EQ(in.Size(), -1);
    in.SkipTo(kStart);
    std::vector<std::uint8_t> chunk(16384);
    std::int64_t total = 0;
    while (int n = in.ReadData(chunk.data(), static_cast<int>(chunk.size())))
        total += n;
    EXPECT_EQ(total, kCap - kStart);
    EXPECT_EQ(in.Position(), kCap);
    in.CloseInput();
}

// ---- On the system's wave-in device (Wine's null capture device) -------------

// Counts the device's open and close notices on their way to the input.
class TNoticeCountingWaveIn : public TSystemWaveIn
{
public:
    MMRESULT Open(HWAVEIN* handle, UINT deviceId, const WAVEFORMATEX* format, TWaveInProc callback,
                  DWORD_PTR instance, DWORD flags) override
    {
        FCallback = callback;
        FInstance = instance;
        return TSystemWaveIn::Open(handle, deviceId, format, Relay,
                                   reinterpret_cast<DWORD_PTR>(this), flags);
    }

    std::atomic<int> Opens{0};
    std::atomic<int> Buffers{0};
    std::atomic<int> Closes{0};

private:
    static void CALLBACK Relay(HWAVEIN handle, UINT message, DWORD_PTR instance, DWORD_PTR p1,
                               DWORD_PTR p2)
    {
        auto* self = reinterpret_cast<TNoticeCountingWaveIn*>(instance);
        ++(message == WIM_OPEN ? self->Opens : message == WIM_CLOSE ? self->Closes : self->Buffers);
        self->FCallback(handle, message, self->FInstance, p1, p2);
    }

    TWaveInProc FCallback = nullptr;
    DWORD_PTR FInstance = 0;
};

class NullDeviceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (TAudioIn::DeviceCount() == 0)
            GTEST_SKIP() << "The system lists no wave-in device here; nothing to record from.";
    }

    // Records through the level meter into a file, as the recording window
    // does; stopAfterBytes > 0 stops the run once that many were recorded.
    TWavInfo Record(TAudioIn& in, const AnsiString& path, int stopAfterBytes = 0)
    {
        TSoundIndicator meter(nullptr);
        meter.SetInput(&in);
        TWaveOut out(nullptr);
        out.SetInput(&meter);
        out.SetFileName(path);
        AnsiString error;
        out.OnThreadException = [&](TComponent*, std::exception_ptr e) {
            error = ExceptionMessage(e);
        };
        out.Run();
        if (stopAfterBytes > 0) {
            EXPECT_TRUE(PumpUntil([&] { return in.Position() >= stopAfterBytes; }));
            out.Stop();
        }
        EXPECT_TRUE(out.WaitForIdle(30000));
        EXPECT_EQ(error, "");
        TBandValues values;
        meter.GetValues(values);
        EXPECT_EQ(values, TBandValues{}) << "the null device records silence";
        TWavInfo info;
        info.Path = path;
        GetWavInfo(info);
        return info;
    }
};

TEST_F(NullDeviceTest, ATwoSecondLimitRecordsTwoSecondsAndAtMostOneBufferMore)
{
    TempFolder folder;
    TAudioIn in(nullptr);
    SetFormat(in, 16, 2, 44100, 2);
    in.OpenInput();
    EXPECT_EQ(in.Size(), 352800);
    in.CloseInput();

    TWavInfo info = Record(in, folder / "limited.wav");
    ASSERT_TRUE(info.IsPlayable);
    EXPECT_EQ(info.Channel, 2);
    EXPECT_EQ(info.Rate, 44100u);
    EXPECT_EQ(info.Bit, 16);
    EXPECT_GE(info.DataSize, 352800u);
    EXPECT_LE(info.DataSize, 352800u + 16384);
    EXPECT_EQ(info.DataSize + 44, static_cast<std::uint32_t>(info.Size));
}

TEST_F(NullDeviceTest, AnUnlimitedRecordingStoppedByTheCallerGetsItsSizesPatched)
{
    TempFolder folder;
    TAudioIn in(nullptr);
    SetFormat(in, 16, 2, 44100, -1);
    TWavInfo info = Record(in, folder / "open.wav", 4 * 16384);
    ASSERT_TRUE(info.IsPlayable);
    AnsiString bytes = ReadWholeFile(folder / "open.wav");
    EXPECT_EQ(U32At(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(U32At(bytes, 40), bytes.size() - 44);
    EXPECT_GE(info.DataSize, 4u * 16384);
    EXPECT_EQ(info.SampleSize, static_cast<std::int32_t>(info.DataSize / 4));
}

TEST_F(NullDeviceTest, TheListedDevicesOpenAndTheirNoticesArrive)
{
    TNoticeCountingWaveIn device;
    TAudioIn in(nullptr, device);
    int count = TAudioIn::DeviceCount();
    EXPECT_EQ(MessageOf([&] { in.SetBaseChannel(count); }),
              "Channel " + std::to_string(count) + " is not available");
    in.SetBaseChannel(count - 1);
    SetFormat(in, 16, 1, 22050, -1);
    in.OpenInput();
    std::uint8_t chunk[1000];
    EXPECT_EQ(in.ReadData(chunk, sizeof(chunk)), 1000);
    in.CloseInput();
    EXPECT_TRUE(PumpUntil([&] { return device.Closes.load() == 1; }));
    EXPECT_EQ(device.Opens, 1);
    EXPECT_GE(device.Buffers, TAudioIn::kQueuedBuffers);
}

} // namespace
