#include "editor/StoredGeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// A 1280 x 1000 work area below a 24-pixel bar; a main window of at least
// 600 x 550 whose frame, toolbars, status bar and smallest list take 150
// pixels of its height, and whose splitter and smallest waveform 40 of its
// width.
TGeometryLimits Limits()
{
    TGeometryLimits limits;
    limits.MainWorkArea = {0, 24, 1280, 1024};
    limits.FileListWorkArea = {0, 24, 1280, 1024};
    limits.MainMinWidth = 600;
    limits.MainMinHeight = 550;
    limits.FileListMinWidth = 112;
    limits.FileListMinHeight = 27;
    limits.PaneMinSize = 30;
    limits.HeightBesidesUpperRow = 150;
    limits.WidthBesidesSidePane = 40;
    return limits;
}

} // namespace

// A window shows when the work area holds its caption bar's top 20 rows
// and 100 pixels of its width; else it comes back as one wholly off does.
TEST(StoredGeometryTest, WindowsOffTheWorkAreaComeBackOntoIt)
{
    struct Case
    {
        const char* name;
        TWindowPlace stored;
        TWindowPlace applied;
    };
    const Case cases[] = {
        {"on the area", {100, 120, 700, 600}, {100, 120, 700, 600}},
        {"partly off stays", {1000, 500, 700, 600}, {1000, 500, 700, 600}},
        {"100 pixels of the caption show", {1180, 40, 620, 550}, {1180, 40, 620, 550}},
        {"99 pixels of the caption show", {1181, 40, 620, 550}, {660, 40, 620, 550}},
        {"1 pixel shows on the left", {-619, 40, 620, 550}, {0, 40, 620, 550}},
        {"20 caption rows show", {100, 1004, 620, 550}, {100, 1004, 620, 550}},
        {"19 caption rows show", {100, 1005, 620, 550}, {100, 474, 620, 550}},
        {"the caption above the area", {1000, -500, 700, 600}, {580, 24, 700, 600}},
        {"far right", {50000, 40, 620, 550}, {660, 40, 620, 550}},
        {"far up and left", {-3000, -3000, 620, 550}, {0, 24, 620, 550}},
        {"far down", {40, 50000, 620, 550}, {40, 474, 620, 550}},
        {"just past the right edge", {1280, 40, 620, 550}, {660, 40, 620, 550}},
        {"larger than the area", {-5000, 0, 3000, 2000}, {0, 24, 1280, 1000}},
        // Made to fit, a window is moved inside along that side only.
        {"wider than the area", {300, 100, 3000, 600}, {0, 100, 1280, 600}},
        {"taller than the area", {100, 300, 700, 2000}, {100, 24, 700, 1000}},
        {"below the smallest size", {10, 30, 100, -7}, {10, 30, 600, 550}},
        {"the largest numbers", {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {0, 24, 1280, 1000}},
        {"the smallest numbers", {INT_MIN, INT_MIN, INT_MIN, INT_MIN}, {0, 24, 600, 550}},
    };
    for (const Case& c : cases) {
        TStoredGeometry stored;
        stored.Main = c.stored;
        const TStoredGeometry applied = GeometryToApply(stored, Limits());
        EXPECT_EQ(applied.Main, c.applied) << c.name;
    }

    // The file-list window follows its own work area and smallest size.
    TGeometryLimits limits = Limits();
    limits.FileListWorkArea = {-1024, 0, 0, 768}; // a monitor to the left
    TStoredGeometry stored;
    stored.FileList = {-5000, 100, 50, 300};
    EXPECT_EQ(GeometryToApply(stored, limits).FileList, (TWindowPlace{-1024, 100, 112, 300}));
    stored.FileList = {-500, 100, 280, 200};
    EXPECT_EQ(GeometryToApply(stored, limits).FileList, stored.FileList);
}

TEST(StoredGeometryTest, PanesAreHeldToWhatTheWindowCanShow)
{
    struct Case
    {
        const char* name;
        int masterPanel;
        int expPanel;
        int windowHeight;
        int appliedMasterPanel;
        int appliedExpPanel;
    };
    // A 620-pixel-wide window leaves the side pane 580; its height less 150
    // is the waveform row's room.
    const Case cases[] = {
        {"as stored", 215, 216, 550, 215, 216},
        {"closed by the splitter", 0, 0, 550, 0, 0},
        {"negative", -50, -1, 550, 30, 30},
        {"below the smallest open size", 5, 29, 550, 30, 30},
        {"the largest number", INT_MAX, INT_MAX, 550, 400, 580},
        {"at the room", 400, 580, 550, 400, 580},
        {"room of a taller window", 900, 216, 1000, 850, 216},
        {"the smallest number", INT_MIN, INT_MIN, 550, 30, 30},
    };
    for (const Case& c : cases) {
        TStoredGeometry stored;
        stored.Main.Height = c.windowHeight;
        stored.MasterPanelHeight = c.masterPanel;
        stored.ExpPanelWidth = c.expPanel;
        const TStoredGeometry applied = GeometryToApply(stored, Limits());
        EXPECT_EQ(applied.MasterPanelHeight, c.appliedMasterPanel) << c.name;
        EXPECT_EQ(applied.ExpPanelWidth, c.appliedExpPanel) << c.name;
    }

    // A window with no room left for a pane gives it none.
    TGeometryLimits cramped = Limits();
    cramped.HeightBesidesUpperRow = 2000;
    cramped.WidthBesidesSidePane = 600;
    TStoredGeometry stored;
    const TStoredGeometry applied = GeometryToApply(stored, cramped);
    EXPECT_EQ(applied.MasterPanelHeight, 0);
    EXPECT_EQ(applied.ExpPanelWidth, 20);
}
