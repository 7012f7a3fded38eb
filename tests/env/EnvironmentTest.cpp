// Checks the environment the other tests rely on: the Japanese ANSI code
// page, a display where windows can be made, and a wave-out device that opens.
#include <gtest/gtest.h>

#include <cstring>

#include <windows.h>
#include <mmsystem.h>

TEST(Environment, AnsiCodePageIs932)
{
    EXPECT_EQ(GetACP(), 932u);
    // A Japanese literal of the sources reaches the program as Shift-JIS.
    const char* text = "ファイル";
    ASSERT_EQ(std::strlen(text), 8u);
    EXPECT_EQ(static_cast<unsigned char>(text[0]), 0x83);
    EXPECT_EQ(static_cast<unsigned char>(text[1]), 0x74);
}

TEST(Environment, WindowCanBeCreated)
{
    HWND wnd = CreateWindowExA(0, "STATIC", "Zandrel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                               200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(wnd, nullptr);
    RECT r;
    EXPECT_TRUE(GetWindowRect(wnd, &r));
    HDC dc = GetDC(wnd);
    EXPECT_GE(GetDeviceCaps(dc, BITSPIXEL), 24)
        << "the display should be 24 bits deep (Xvfb -screen 0 1280x1024x24)";
    ReleaseDC(wnd, dc);
    EXPECT_TRUE(DestroyWindow(wnd));
}

TEST(Environment, DefaultWaveOutDeviceOpens)
{
    ASSERT_GE(waveOutGetNumDevs(), 1u) << "no wave-out device: is the ALSA null device set?";
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    HWAVEOUT device = nullptr;
    ASSERT_EQ(waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
}
