// The main window's view under Xvfb: a generated file's draw data in the
// window's fields, the waveform bitmap's columns, relayout when the form
// grows, and the wheel, the scroll bar, overview clicks and chase acting on
// the view.
#include "TestDocument.h"

#include "MainWindowFixture.h"

#include "audio/DirectWavEngine.h"
#include "classlib/TextUtils.h"
#include "support/BarDriver.h"
#include "support/ModalScript.h"
#include "support/TempFolder.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testing_support;

namespace {

constexpr int kRate = 8000;

class ViewWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        form = new TFormVusk(nullptr);
        form->SetSettingsPath(folder / "zandrel.ini");
        form->Show();
        PumpMessages();
    }
    void TearDown() override
    {
        form->Engine()->InitWavInfo();
        FreeAndNil(form);
        PumpMessages();
    }

    // Silence for the first half of the frames, then a full-scale square
    // wave; one draw entry per frame (the block size of a short file is 2).
    void Open(int frames)
    {
        LoadTestDocument(*form, WriteHalfSilentWav(folder, "view.wav", frames, kRate));
        ASSERT_EQ(form->Document().BlockSize(), 2);
    }

    TColor WavePixel(int x, int y) { return form->WaveImage->Picture()->Canvas()->Pixel(x, y); }
    // Rows of column x below the ruler in the wave colour.
    int WaveRows(int x)
    {
        int rows = 0;
        for (int y = form->MarkHeight() + 1; y < form->WaveImage->Picture()->Height(); ++y)
            rows += WavePixel(x, y) == form->FOption.WaveColor;
        return rows;
    }
    void MoveMouseOverWave()
    {
        const TPoint at(form->WaveImage->Left() + 10, form->WaveImage->Top() + 10);
        SendMessageA(form->WavePanel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    }
    void Wheel(int delta)
    {
        SendMessageA(form->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(100, 100));
    }

    TempFolder folder;
    TFormVusk* form = nullptr;
};

TEST_F(ViewWindowTest, WithoutAFileTheImagesAreGreyAndTheBarIsOff)
{
    EXPECT_EQ(form->WaveImage->Width(), form->WavePanel->Width() - 3);
    EXPECT_EQ(form->WaveImage->Height(), form->WavePanel->Height() - 62);
    EXPECT_EQ(form->OverViewImage->Picture()->Height(), 43);
    EXPECT_EQ(WavePixel(5, 5), 0xC0C0C0);
    EXPECT_FALSE(form->ScrollBar1->Enabled());
    form->DrawWave(0); // no file: nothing
    EXPECT_EQ(WavePixel(5, 5), 0xC0C0C0);
}

TEST_F(ViewWindowTest, OpenedFileShowsSilenceThenTheWave)
{
    Open(16000);
    const int width = form->WaveImage->Width();
    EXPECT_EQ(form->WaveImage->Picture()->Width(), width);
    EXPECT_EQ(form->Document().View().ViewStart, 0);
    EXPECT_EQ(form->Document().View().SamplesPerPixel, form->Document().View().Zoom);
    EXPECT_TRUE(form->ScrollBar1->Enabled());
    const int silent = form->SampleToX(2000);
    const int loud = form->SampleToX(12000);
    EXPECT_EQ(WaveRows(silent), 0);
    EXPECT_GT(WaveRows(loud), form->WaveImage->Height() / 2);
    EXPECT_EQ(WavePixel(silent, form->MarkHeight()), 0xA4A0A0);
    // The overview: the mark at the cursor (0), the frame's second column
    // beside it, and a clean copy without either.
    TCanvas* overview = form->OverViewImage->Picture()->Canvas();
    EXPECT_EQ(form->Document().View().OverviewFrame.left, 0);
    EXPECT_EQ(overview->Pixel(0, 10), form->FOption.PosBarColor);
    EXPECT_EQ(overview->Pixel(1, 10), form->FOption.RangeColor);
    EXPECT_EQ(form->Overview()->Canvas()->Pixel(1, 10), form->FOption.BackColor);
}

TEST_F(ViewWindowTest, EnlargingTheFormRelaysOutAndHalvesAWholeFileZoom)
{
    Open(form->WaveImage->Width() * 3 / 2);
    ZoomTo(*form, 2);
    ASSERT_FALSE(form->ScrollBar1->Enabled()); // the whole file is in view
    form->actViewZoomOutExecute(nullptr);      // the data ran out: refused
    EXPECT_EQ(form->Document().View().Zoom, 2);
    form->SetBounds(form->Left(), form->Top(), form->Width() + 200, form->Height() + 60);
    PumpMessages();
    EXPECT_EQ(form->WaveImage->Width(), form->WavePanel->Width() - 3);
    EXPECT_EQ(form->WaveImage->Picture()->Width(), form->WaveImage->Width());
    EXPECT_EQ(form->WaveImage->Picture()->Height(), form->WavePanel->Height() - 62);
    EXPECT_EQ(form->OverViewImage->Width(), form->WavePanel->Width() - 4);
    EXPECT_EQ(form->Document().View().Zoom, 1);
    EXPECT_EQ(form->Document().View().ViewEnd - form->Document().View().ViewStart,
              form->WaveImage->Width());
}

TEST_F(ViewWindowTest, CtrlWheelZoomsAndAPlainWheelScrollsWhileOverTheWave)
{
    Open(16000);
    const int zoom = form->Document().View().Zoom;
    Wheel(-120); // not over the wave: nothing
    EXPECT_EQ(form->Document().View().ViewStart, 0);
    MoveMouseOverWave();
    ASSERT_TRUE(form->WaveImage->Inside());
    {
        ScopedKeyState ctrl({VK_CONTROL});
        Wheel(120);
    }
    EXPECT_EQ(form->Document().View().Zoom, zoom / 2);
    const int step = form->ScrollBar1->SmallChange();
    const int start = form->Document().View().ViewStart;
    Wheel(-120);
    EXPECT_EQ(form->Document().View().ViewStart, start + step * 100);
    EXPECT_FALSE(form->actViewChase->Checked());
    {
        ScopedKeyState shift({VK_SHIFT});
        Wheel(120);
    }
    EXPECT_EQ(form->Document().View().VZoom, 2);
}

TEST_F(ViewWindowTest, ScrollBarRedrawsWhenTheScrollEnds)
{
    Open(16000);
    form->actViewZoomInExecute(nullptr);
    form->actViewZoomInExecute(nullptr);
    int position = 30;
    form->ScrollBar1Scroll(form->ScrollBar1, TScrollCode::scTrack, position);
    EXPECT_EQ(form->Document().View().ViewStart, 0); // not while the thumb moves
    form->ScrollBar1->SetPosition(30);
    position = 30;
    form->ScrollBar1Scroll(form->ScrollBar1, TScrollCode::scEndScroll, position);
    EXPECT_EQ(form->Document().View().ViewStart, 3000);
    EXPECT_EQ(position, 30);
    position = form->ScrollBar1->Max();
    form->ScrollBar1Scroll(form->ScrollBar1, TScrollCode::scEndScroll, position);
    EXPECT_EQ(form->Document().View().ViewEnd, 16000); // the last screen
}

TEST_F(ViewWindowTest, AClickOnTheScrollBarLeavesTheMouseToTheRestOfTheWindow)
{
    Open(16000);
    form->actViewZoomInExecute(nullptr);
    ASSERT_TRUE(form->ScrollBar1->Enabled());
    ASSERT_TRUE(ActivateForm(form));
    const HWND bar = form->ScrollBar1->WindowHandle();
    RECT barRect;
    GetClientRect(bar, &barRect);
    const int middle = barRect.bottom / 2;
    const POINT clicks[] = {
        ScreenPointOf(bar, barRect.right - 4, middle), // the right arrow
        ScreenPointOf(bar, 4, middle),                 // the left arrow
    };
    for (const POINT& at : clicks) {
        RealClick(at);
        EXPECT_EQ(GetCapture(), nullptr);
    }
    // The menu bar still takes a click: the File menu opens.
    const auto fileMenuOpen = [this] { return OpenMenuOf(form->FileMenu) != nullptr; };
    int opened = 0;
    ModalScript script;
    script.WaitUntil(fileMenuOpen, "the File menu opens")
        .Then([&] {
            ++opened;
            ModalScript::PressKey(VK_ESCAPE);
        })
        .WaitUntil([&] { return !fileMenuOpen(); }, "the File menu closes")
        .Then([] { ModalScript::PressKey(VK_ESCAPE); });
    script.Run([&] { RealClick(ScreenCentre(form->MenuBar->View(), form->FileMenu)); });
    EXPECT_EQ(opened, 1);
}

TEST_F(ViewWindowTest, OverviewClickAndChaseMoveTheView)
{
    Open(16000);
    form->actViewZoomInExecute(nullptr);
    form->actViewZoomInExecute(nullptr);
    const int scale = form->Document().View().OverviewSamplesPerPixel;
    ASSERT_GT(scale, 0);
    form->OverViewImageMouseDown(form->OverViewImage, TMouseButton::mbLeft, 0, 100, 5);
    EXPECT_EQ(form->Document().View().ViewStart, scale * 100);
    EXPECT_FALSE(form->actViewChase->Checked());
    form->SetPlayPosition(500);
    form->actViewChaseExecute(nullptr);
    EXPECT_TRUE(form->actViewChase->Checked());
    EXPECT_TRUE(form->IsSampleVisible(500));
    form->actViewChaseExecute(nullptr);
    EXPECT_FALSE(form->actViewChase->Checked());
    EXPECT_EQ(form->actViewChase->ImageIndex(), 19);
}

TEST_F(ViewWindowTest, ZoomToTheSelectionAndBackToTheWholeFile)
{
    Open(16000);
    // Twenty-one columns of the whole file's view fit the image at zoom 1.
    const int from = form->SampleToX(4000);
    DragOnWave(*form, from, from + 20);
    const std::int32_t start = form->XToSample(from, false);
    ASSERT_EQ(form->Document().View().SelStart, start);
    ASSERT_EQ(form->Document().View().SelEnd, form->XToSample(from + 20, true));
    ASSERT_LE(form->Document().View().SelEnd - start, form->WaveImage->Width());
    form->actViewZoomRegionExecute(nullptr);
    EXPECT_EQ(form->Document().View().Zoom, 1);
    EXPECT_EQ(form->Document().View().ViewStart, start);
    EXPECT_EQ(WavePixel(10, 30), form->FOption.RegBackColor);
    form->ClearSelection();
    EXPECT_EQ(WavePixel(10, 30), form->FOption.BackColor);
    for (int step = 0; step < 3; ++step)
        form->actViewVZoomInExecute(form->actViewVZoomIn);
    ASSERT_EQ(form->Document().View().VZoom, 4);
    form->actViewZoomAllExecute(nullptr);
    EXPECT_EQ(form->Document().View().VZoom, 1);
    EXPECT_EQ(form->Document().View().ViewStart, 0);
    EXPECT_EQ(form->Document().View().Zoom, 16000 / form->WaveImage->Width());
}

} // namespace

TEST_F(ViewWindowTest, ErasingAMarkWithRemovalRebuildsTheCutBarListUnlessAMarkIsDragged)
{
    struct Case
    {
        const char* name;
        bool remove, dragging;
        std::vector<AnsiString> listed; // the list view's times afterwards
    };
    const Case cases[] = {
        {"removed", true, false, {"0:00.13", "0:01.13"}},
        {"removed while a mark is dragged", true, true, {}},
        {"only painted away", false, false, {}},
    };
    Open(16000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->Document().ClearCutBars();
        for (const char* bar : {"000000001000", "000000005000", "000000009000"})
            form->Document().AddLoadedCutBars({bar});
        form->CutManageList->Items()->Clear();
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
        form->DrawWave(0);
        const int x = form->SampleToX(5000);
        // A press on the mark begins its drag; a release where it began
        // puts nothing back.
        if (c.dragging) {
            form->WaveImageMouseDown(form->WaveImage, TMouseButton::mbLeft, {}, x,
                                     form->MarkHeight() - 2);
            ASSERT_TRUE(form->WaveDrag().DraggingMarker());
        }
        form->EraseCutBarMark(x, c.remove);
        form->EndWaveDrag(x);
        EXPECT_EQ(form->Document().CutBarCount(), c.remove ? 2 : 3);
        EXPECT_EQ(form->Document().Modified(), c.remove);
        std::vector<AnsiString> listed;
        for (int i = 0; i < form->CutManageList->Items()->Count(); ++i) {
            TListItem* item = form->CutManageList->Items()->Item(i);
            EXPECT_EQ(item->Caption(), IntToStr(i + 1));
            listed.push_back(item->SubItems()->Strings(0));
        }
        EXPECT_EQ(listed, c.listed);
    }
}
