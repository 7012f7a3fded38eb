// Saved places of dockable windows: what is written, in which order, and
// what reading a section (good, stale or broken) does to a window.
#include "DockTestHost.h"

#include "support/TempFolder.h"
#include "support/WindowDriver.h"

#include "classlib/Exceptions.h"

#include <gtest/gtest.h>

using namespace bar_testing;
using namespace testing_support;

namespace {

// Keeps one value of its own beside the common keys.
class TExtraBar : public TTestBar
{
public:
    using TTestBar::TTestBar;
    int Extra = 7;
    void LoadExtraPlace(TBarPlaceReadIntProc readInt, TBarPlaceReadStringProc, void* data) override
    {
        Extra = readInt(Name(), "Extra", Extra, data);
    }
    void SaveExtraPlace(TBarPlaceWriteIntProc writeInt, TBarPlaceWriteStringProc,
                        void* data) override
    {
        writeInt(Name(), "Extra", Extra, data);
    }
};

class BarPlacesTest : public DockFormTest
{
protected:
    AnsiString Ini() const { return folder / "places.ini"; }
    TempFolder folder;
};

TEST_F(BarPlacesTest, EveryKeyIsWrittenInOrderUnderThePrefixedSection)
{
    auto* bar = new TExtraBar(form, 100, 22);
    bar->SetName("Tools");
    bar->SetDockRow(0);
    bar->SetDockPos(30);
    bar->SetCurrentDock(top);
    AddBar(top, 50, 22, 0, 200); // no Name: not saved
    bar->SetFloatOrigin(TPoint(300, 200));
    bar->SetFloating(true);
    PumpMessages();
    const TPoint origin = bar->FloatOrigin();

    BarWritePlacesToIni(form, Ini(), "Bar_");
    EXPECT_EQ(folder.ReadFile("places.ini"),
              "[Bar_Tools]\r\nRev=2000\r\nVisible=1\r\nDockedTo=+\r\nLastDock=TopDock\r\n"
              "DockRow=0\r\nDockPos=30\r\nFloatLeft=" +
                  std::to_string(origin.x) + "\r\nFloatTop=" + std::to_string(origin.y) +
                  "\r\nExtra=7\r\n");
}

TEST_F(BarPlacesTest, PlacesSurviveAWriteAndARead)
{
    TTestBar* docked = AddBar(bottom, 100, 22, 0, 40, "Docked");
    TTestBar* second = AddBar(bottom, 100, 22, 1, 10, "Second");
    TTestBar* floating = AddBar(right, 30, 60, 0, 0, "Floating");
    floating->SetFloatOrigin(TPoint(250, 220));
    floating->SetFloating(true);
    second->SetVisible(false);
    PumpMessages();
    const TRect frame = ScreenRect(floating->FloatingParent());
    BarWritePlacesToIni(form, Ini(), "");

    for (TTestBar* bar : {docked, second, floating})
        bar->SetCurrentDock(top);
    second->SetVisible(true);
    PumpMessages();
    BarReadPlacesFromIni(form, Ini(), "");
    PumpMessages();

    EXPECT_EQ(docked->CurrentDock(), bottom);
    EXPECT_EQ(docked->PlacedPos(), 40);
    EXPECT_EQ(second->CurrentDock(), bottom);
    EXPECT_EQ(second->DockRow(), 1);
    EXPECT_FALSE(second->Visible());
    ASSERT_TRUE(floating->Floating());
    EXPECT_EQ(floating->LastDock(), right);
    EXPECT_EQ(ScreenRect(floating->FloatingParent()), frame);
}

// What one stored section does to a window named "Bar" docked in the top
// dock at row 0, position 0; the left dock allows no dragging.
struct ReadCase
{
    const char* what;
    const char* section;
    bool visible;
    const char* dock; // "+" for floating
    int dockPos;
};

TEST_F(BarPlacesTest, ReadingASectionAppliesOnlyWhatItCanTrust)
{
    const ReadCase cases[] = {
        {"another revision is skipped whole", "Rev=1999\nVisible=0\nDockedTo=BottomDock\nDockPos=9",
         true, "TopDock", 0},
        {"no revision is skipped whole", "Visible=0\nDockedTo=BottomDock", true, "TopDock", 0},
        {"an unknown dock restores only the visibility",
         "Rev=2000\nVisible=0\nDockedTo=Gone\nDockPos=9", false, "TopDock", 0},
        {"a dock without dragging restores only the visibility",
         "Rev=2000\nVisible=0\nDockedTo=LeftDock\nDockPos=9", false, "TopDock", 0},
        {"no dock restores only the visibility", "Rev=2000\nVisible=0\nDockPos=9", false, "TopDock",
         0},
        {"dock names compare without case", "Rev=2000\nDockedTo=bottomDOCK\nDockPos=9", true,
         "BottomDock", 9},
        {"missing keys keep the window's values", "Rev=2000\nDockedTo=BottomDock", true,
         "BottomDock", 0},
        {"a number that is no number reads as missing",
         "Rev=2000\nVisible=yes\nDockedTo=BottomDock\nDockPos=x9", true, "BottomDock", 0},
        {"a float", "Rev=2000\nDockedTo=+\nFloatLeft=200\nFloatTop=150", true, "+", 0},
        {"a row and a position beyond any dock are held to what a dock can show",
         "Rev=2000\nDockedTo=BottomDock\nDockRow=2147483647\nDockPos=2147483647", true,
         "BottomDock", kBarCoordinateLimit},
    };
    left->SetAllowDrag(false);
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        TTestBar* bar = AddBar(top, 100, 22, 0, 0, "Bar");
        folder.WriteFile("places.ini", AnsiString("[Bar]\n") + c.section + "\n");
        BarReadPlacesFromIni(form, Ini(), "");
        PumpMessages();
        EXPECT_EQ(bar->Visible(), c.visible);
        if (std::string(c.dock) == "+") {
            ASSERT_TRUE(bar->Floating());
            EXPECT_EQ(bar->FloatingParent()->Left(), 200);
        } else {
            ASSERT_NE(bar->CurrentDock(), nullptr);
            EXPECT_EQ(bar->CurrentDock()->Name(), c.dock);
            EXPECT_EQ(bar->DockPos(), c.dockPos);
        }
        delete bar;
        PumpMessages();
    }
}

TEST_F(BarPlacesTest, AFloatSavedOffTheScreenComesBackOntoTheWorkArea)
{
    TTestBar* bar = AddBar(top, 100, 22, 0, 0, "Bar");
    folder.WriteFile("places.ini", "[Bar]\nRev=2000\nDockedTo=+\nFloatLeft=-5000\nFloatTop=9000\n");
    BarReadPlacesFromIni(form, Ini(), "");
    ASSERT_TRUE(bar->Floating());
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const TRect frame = ScreenRect(bar->FloatingParent());
    EXPECT_GE(frame.left, area.left);
    EXPECT_LE(frame.bottom, area.bottom);
}

TEST_F(BarPlacesTest, AWindowOnNoFormIgnoresAStoredFloat)
{
    auto* bar = new TTestBar(form, 100, 22);
    bar->SetName("Bar");
    folder.WriteFile("places.ini", "[Bar]\nRev=2000\nDockedTo=+\nFloatLeft=200\n");
    EXPECT_NO_THROW(BarReadPlacesFromIni(form, Ini(), ""));
    EXPECT_FALSE(bar->Floating());
    EXPECT_EQ(bar->Parent(), nullptr);
}

TEST_F(BarPlacesTest, WindowsInADockWithoutDraggingKeepOnlyTheirVisibility)
{
    left->SetAllowDrag(false);
    TTestBar* bar = AddBar(left, 30, 60, 0, 0, "Menu");
    BarWritePlacesToIni(form, Ini(), "");
    EXPECT_NE(folder.ReadFile("places.ini").find("DockedTo=\r\n"), std::string::npos);
    bar->SetVisible(false);
    BarReadPlacesFromIni(form, Ini(), "");
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(bar->CurrentDock(), left);
}

TEST_F(BarPlacesTest, ADraggableDockWithoutANameStopsTheSaveAtItsWindow)
{
    AddBar(top, 100, 22, 0, 0, "First");
    auto* nameless = MakeChildControl<TBarDock>(form, form, "");
    nameless->SetPosition(TBarDockPosition::dpBottom);
    AddBar(nameless, 100, 22, 0, 0, "Second");
    AddBar(top, 100, 22, 0, 200, "Third");
    try {
        BarWritePlacesToIni(form, Ini(), "");
        ADD_FAILURE() << "saved a window whose dock has no name";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Cannot save dockable window's position because DockedTo's Name "
                               "property not set");
    }
    const AnsiString written = folder.ReadFile("places.ini");
    EXPECT_NE(written.find("[First]"), std::string::npos);
    EXPECT_EQ(written.find("[Second]"), std::string::npos);
    EXPECT_EQ(written.find("[Third]"), std::string::npos);
}

} // namespace
