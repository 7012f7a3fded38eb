// Drawing and message routines on memory bitmaps and the thread's queue:
// drag outlines, removing messages, the state image list, turned captions.
#include "toolbar/BarCommon.h"
#include "toolbar/BarItem.h"

#include "classlib/Graphics.h"
#include "classlib/ImageList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A white 32-bit bitmap that counts the pixels no longer white.
class Sheet
{
public:
    Sheet()
    {
        FBitmap.SetPixelFormat(TPixelFormat::pf32bit);
        FBitmap.SetSize(100, 100);
        FBitmap.Canvas()->Brush()->SetColor(clWhite);
        FBitmap.Canvas()->FillRect(TRect(0, 0, 100, 100));
    }
    HDC DC() { return FBitmap.Canvas()->Handle(); }
    // Changed pixels inside r and outside it.
    std::pair<int, int> Changed(const TRect& r)
    {
        GdiFlush();
        int inside = 0, outside = 0;
        for (int y = 0; y < 100; ++y) {
            auto* row = static_cast<const DWORD*>(FBitmap.ScanLine(y));
            for (int x = 0; x < 100; ++x)
                if ((row[x] & 0xFFFFFF) != 0xFFFFFF)
                    ++(r.Contains(TPoint(x, y)) ? inside : outside);
        }
        return {inside, outside};
    }

private:
    TBitmap FBitmap;
};

TEST(BarDrawing, ADragOutlineMovesByInvertingOnlyItsFrame)
{
    Sheet sheet;
    TRect first(10, 10, 40, 40), second(20, 20, 60, 60);
    SIZE thick = {3, 3};
    DrawDragOutline(sheet.DC(), &first, nullptr, thick, thick, nullptr, nullptr);
    auto [inFrame, elsewhere] = sheet.Changed(first);
    EXPECT_GT(inFrame, 0);
    EXPECT_EQ(elsewhere, 0);
    EXPECT_EQ(sheet.Changed(TRect(13, 13, 37, 37)).first, 0); // the frame's inside stays

    DrawDragOutline(sheet.DC(), &second, &first, thick, thick, nullptr, nullptr);
    EXPECT_GT(sheet.Changed(second).first, 0);
    EXPECT_EQ(sheet.Changed(second).second, 0); // the old frame is gone

    DrawDragOutline(sheet.DC(), nullptr, &second, thick, thick, nullptr, nullptr);
    EXPECT_EQ(sheet.Changed(TRect(0, 0, 100, 100)).first, 0);

    // With different brushes, the old frame goes by its own brush.
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    DrawDragOutline(sheet.DC(), &first, nullptr, thick, thick, white, nullptr);
    DrawDragOutline(sheet.DC(), &second, &first, thick, thick, black, white);
    DrawDragOutline(sheet.DC(), nullptr, &second, thick, thick, nullptr, black);
    EXPECT_EQ(sheet.Changed(TRect(0, 0, 100, 100)).first, 0);
}

TEST(BarMessages, RemovingARangeKeepsAQuitRequest)
{
    HWND window =
        CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    PostMessageA(window, WM_APP + 5, 0, 0);
    PostMessageA(window, WM_APP + 6, 0, 0);
    PostQuitMessage(7);
    RemoveMessages(WM_APP + 5, WM_APP + 5);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_APP + 5, WM_APP + 5, PM_NOREMOVE) &&
                 msg.message == WM_APP + 5);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_APP + 6, WM_APP + 6, PM_REMOVE));
    DestroyWindow(window);
}

// A list that records which list drew.
class TNamedList : public TCustomImageList
{
public:
    TNamedList(std::string name, std::vector<std::string>& log)
        : TCustomImageList(nullptr), FName(std::move(name)), FLog(log)
    {
        TBitmap image;
        image.SetSize(16, 16);
        Add(&image, nullptr);
    }

protected:
    void DoDraw(int, TCanvas*, int, int, UINT, bool enabled) override
    {
        FLog.push_back(FName + (enabled ? "" : " greyed"));
    }

private:
    std::string FName;
    std::vector<std::string>& FLog;
};

class TRecordingBarImages : public TBarCustomImageList
{
public:
    explicit TRecordingBarImages(std::vector<std::string>& log)
        : TBarCustomImageList(nullptr), FLog(log)
    {
        TBitmap image;
        image.SetSize(16, 16);
        Add(&image, nullptr);
    }

protected:
    void DoDraw(int, TCanvas*, int, int, UINT, bool enabled) override
    {
        FLog.push_back(std::string("own") + (enabled ? "" : " greyed"));
    }

private:
    std::vector<std::string>& FLog;
};

TEST(BarImages, TheStateListsDrawInTheirOrder)
{
    std::vector<std::string> log;
    TRecordingBarImages images(log);
    auto disabled = std::make_unique<TNamedList>("disabled", log);
    TNamedList first("first", log), second("second", log);
    images.SetDisabledImages(disabled.get());
    images.SetFirstStateImages(&first);
    images.SetSecondStateImages(&second);
    TBitmap target;
    target.SetSize(16, 16);
    struct Case
    {
        bool enabled, firstState, secondState;
        const char* drew;
    } cases[] = {
        {false, true, true, "disabled"},
        {true, true, true, "first"},
        {true, false, true, "second"},
        {true, false, false, "own"},
    };
    for (const Case& c : cases) {
        log.clear();
        images.DrawState(target.Canvas(), 0, 0, 0, c.enabled, c.firstState, c.secondState);
        EXPECT_EQ(log, std::vector<std::string>{c.drew}) << c.drew;
    }
    disabled.reset(); // a list that goes is forgotten
    EXPECT_EQ(images.DisabledImages(), nullptr);
    log.clear();
    images.DrawState(target.Canvas(), 0, 0, 0, false, false, false);
    EXPECT_EQ(log, std::vector<std::string>{"own greyed"});
    images.SetFirstStateImages(&images); // the list itself is no state list
    EXPECT_EQ(images.FirstStateImages(), nullptr);
}

TEST(BarDrawing, TurnedCaptionsDrawInsideTheirRectangle)
{
    Sheet sheet;
    HGDIOBJ old = SelectObject(sheet.DC(), BarMenuFont()->Handle());
    SetBkMode(sheet.DC(), TRANSPARENT);
    TRect box(30, 10, 50, 60);
    for (UINT format : {0u, UINT(DT_CENTER), UINT(DT_END_ELLIPSIS), UINT(DT_HIDEPREFIX)})
        DrawVerticalCaption(sheet.DC(), "&Vertical caption that is long", box, format);
    SelectObject(sheet.DC(), old);
    auto [inside, outside] = sheet.Changed(box);
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}

} // namespace
