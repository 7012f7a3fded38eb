// Tool windows: the client size they ask for in each place, their limits
// while resized, and the client size they keep in saved places.
#include "DockTestHost.h"

#include "toolbar/BarToolWindow.h"

#include "support/ModalScript.h"
#include "support/TempFolder.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace bar_testing;
using namespace testing_support;

namespace {

class BarToolWindowTest : public DockFormTest
{
protected:
    TBarToolWindow* NewWindow(const char* name = "Tools")
    {
        auto* window = new TBarToolWindow(form);
        window->SetName(name);
        return window;
    }
    TempFolder folder;
};

TEST_F(BarToolWindowTest, ANewWindowIs32PixelsSquareAndAsksForThatClientEverywhere)
{
    TBarToolWindow* window = NewWindow();
    EXPECT_EQ(window->Width(), 32);
    EXPECT_EQ(window->Height(), 32);
    window->SetCurrentDock(top);
    PumpMessages();
    EXPECT_EQ(window->ClientAreaWidth(), 32);
    EXPECT_EQ(window->ClientAreaHeight(), 32);
    window->SetFloating(true);
    PumpMessages();
    EXPECT_EQ(window->FloatingParent()->ClientWidth(), window->Width());
    EXPECT_EQ(window->ClientAreaWidth(), 32);
}

// The client size a window wanting 80 x 50 (minimum 40 x 30) asks for.
struct AskCase
{
    const char* what;
    bool fullSize;
    bool stretch;
    bool leftRight;
    bool floating;
    int width; // -1: the dock's client length less the docked frame
    int height;
};

TEST_F(BarToolWindowTest, TheClientItAsksForDependsOnWhereItGoes)
{
    const AskCase cases[] = {
        {"floating", false, false, false, true, 80, 50},
        {"in a top dock", false, false, false, false, 80, 50},
        {"stretching in a top dock", false, true, false, false, 40, 50},
        {"stretching in a left dock", false, true, true, false, 80, 30},
        {"full size in a top dock", true, false, false, false, -1, 50},
        {"full size in a left dock", true, false, true, false, 80, -1},
        {"full size floating", true, false, false, true, 80, 50},
    };
    TBarToolWindow* window = NewWindow();
    window->SetMinClientWidth(40);
    window->SetMinClientHeight(30);
    window->SetClientAreaWidth(80);
    window->SetClientAreaHeight(50);
    for (const AskCase& c : cases) {
        SCOPED_TRACE(c.what);
        window->SetFullSize(c.fullSize);
        window->SetStretch(c.stretch);
        TBarDock* dock = c.leftRight ? left : top;
        const TBarHostKind kind = c.floating    ? TBarHostKind::hkFloat
                                  : c.leftRight ? TBarHostKind::hkVertDock
                                                : TBarHostKind::hkHorzDock;
        TPoint size;
        window->LayOutContent(false, kind, c.floating, c.floating ? nullptr : dock, size);
        // 2 pixels round the client plus the 6-pixel handle on the leading side.
        const int frameAlong = 2 + 2 + 6;
        EXPECT_EQ(size.x, c.width < 0 ? dock->ClientWidth() - frameAlong : c.width);
        EXPECT_EQ(size.y, c.height < 0 ? dock->ClientHeight() - frameAlong : c.height);
    }
}

TEST_F(BarToolWindowTest, ResizingStopsAtTheMinimumClientSize)
{
    TBarToolWindow* window = NewWindow();
    window->SetCurrentDock(top);
    window->SetFloatOrigin(TPoint(300, 200));
    window->SetFloating(true);
    PumpMessages();
    TBarFloatingWindowParent* frame = window->FloatingParent();
    const TRect before = ScreenRect(frame);
    const POINT corner{before.right - 2, before.bottom - 2};
    ModalScript script;
    script.Then([&] {
              ModalScript::MoveMouse(POINT{corner.x - 200, corner.y - 200});
          })
        .Then([&] {
            ModalScript::ReleaseButton(POINT{corner.x - 200, corner.y - 200});
        });
    SetCursorPos(corner.x, corner.y);
    script.Run([&] { window->StartSizeLoop(7); });
    EXPECT_EQ(window->ClientAreaWidth(), 32);
    EXPECT_EQ(window->ClientAreaHeight(), 32);
}

// What reading "ClientWidth=120, ClientHeight=90" gives a window whose
// limits are 40..200 wide and 30..0 (no maximum) high.
struct StoredSizeCase
{
    const char* what;
    bool resizable;
    const char* sizes;
    int width;
    int height;
};

TEST_F(BarToolWindowTest, AStoredClientSizeIsTakenOnlyByAResizableWindowWithinItsLimits)
{
    const StoredSizeCase cases[] = {
        {"resizable", true, "ClientWidth=120\nClientHeight=90", 120, 90},
        {"not resizable", false, "ClientWidth=120\nClientHeight=90", 70, 60},
        {"missing keys", true, "", 70, 60},
        {"below the minimum", true, "ClientWidth=-5\nClientHeight=0", 40, 30},
        {"beyond the maximum", true, "ClientWidth=100000\nClientHeight=2000", 200, 2000},
    };
    for (const StoredSizeCase& c : cases) {
        SCOPED_TRACE(c.what);
        TBarToolWindow* window = NewWindow();
        window->SetMinClientWidth(40);
        window->SetMinClientHeight(30);
        window->SetMaxClientWidth(200);
        window->SetResizable(c.resizable);
        window->SetClientAreaWidth(70);
        window->SetClientAreaHeight(60);
        window->SetCurrentDock(bottom);
        folder.WriteFile("places.ini", AnsiString("[Tools]\nRev=2000\nDockedTo=+\n") + c.sizes +
                                           "\nFloatLeft=200\nFloatTop=200\n");
        BarReadPlacesFromIni(form, folder / "places.ini", "");
        PumpMessages();
        ASSERT_TRUE(window->Floating());
        EXPECT_EQ(window->ClientAreaWidth(), c.width);
        EXPECT_EQ(window->ClientAreaHeight(), c.height);
        delete window;
        PumpMessages();
    }
}

TEST_F(BarToolWindowTest, TheClientSizeIsWrittenAfterTheCommonKeys)
{
    TBarToolWindow* window = NewWindow();
    window->SetClientAreaWidth(70);
    window->SetClientAreaHeight(60);
    window->SetCurrentDock(top);
    BarWritePlacesToIni(form, folder / "places.ini", "");
    const AnsiString text = folder.ReadFile("places.ini");
    EXPECT_NE(text.find("FloatTop=0\r\nClientWidth=70\r\nClientHeight=60\r\n"), std::string::npos)
        << text;
}

} // namespace
