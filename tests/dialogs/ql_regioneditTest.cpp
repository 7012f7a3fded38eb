// The region and cut-bar edit windows opened by the main window's commands
// on a generated file and worked inside their modal loops: typed and pasted
// texts, the edits kept in step, the duplicate-name message, Escape, Next
// and Back, and what OK writes back.
#include "editor/MainWindowFixture.h"
#include "editor/TestDocument.h"

#include "dialogs/ql_cutbaredit.h"
#include "dialogs/ql_regionedit.h"
#include "editor/CutBarList.h"
#include "editor/PlayCursor.h"

#include "classlib/Clipboard.h"
#include "classlib/Menu.h"

#include "support/ModalDriver.h"
#include "support/TestSeams.h"

#include <functional>
#include <string>

using namespace testing_support;

namespace {

constexpr int kRate = 8000;
constexpr int kFrames = 80000; // ten seconds

class EditWindowTest : public MainWindowTest
{
protected:
    // Three regions: [1 s, 2 s], [3 s, 4 s], [5 s, 6 s].
    void Open()
    {
        StartWithWav("take.wav", kFrames, kRate);
        form->AddRegionRanges({{8000, 16000}, {24000, 32000}, {40000, 48000}});
        ASSERT_TRUE(ActivateForm(form));
        form->EditList->SetFocus();
        SelectOnlyRegions(form, {0});
        form->FocusRegionRow(0);
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    }
    bool SelectedAlone(int row) const
    {
        return form->SelectedRegionRows() == std::vector<int>{row};
    }

    // Runs command; act works the window that opens. Returns the window's
    // modal result (mrCancel when act left it open).
    template <class Window>
    TModalResult Run(const std::function<void()>& command, const std::function<void(Window&)>& act)
    {
        TModalResult result = mrNone;
        ScriptedModalForms modal;
        modal.Add([&](TCustomForm* shown) {
            auto* window = dynamic_cast<Window*>(shown);
            if (!window)
                return mrCancel;
            EXPECT_TRUE(ActivateForm(window));
            act(*window);
            result = window->ModalResult();
            return result == mrNone ? mrCancel : mrNone;
        });
        command();
        EXPECT_EQ(modal.Shown().size(), 1u);
        return result;
    }
    TModalResult EditRegion(const std::function<void(TForm2&)>& act)
    {
        return Run<TForm2>([&] { form->actRegionEdit->Execute(); }, act);
    }

    // Types text over the whole of edit, as keys.
    static void Type(TNumEdit* edit, const std::string& text)
    {
        edit->SetFocus();
        edit->SelectAll();
        PumpMessages();
        for (char c : text)
            PostMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
        PumpMessages();
    }
    static void Press(WORD key, TShiftState shift = 0) { PressKey(FocusedWindow(), key, shift); }
};

} // namespace

TEST_F(EditWindowTest, TheRegionWindowOpensOnTheSelectedRegionFromTheMenuAndTheList)
{
    Open();
    struct Way
    {
        const char* What;
        std::function<void()> Command;
        const char* Focused;
    };
    auto doubleClickOn = [&](TRegionColumn column) {
        const TRect r = form->RegionCellRect(0, column);
        ScopedCursorPos mouse(ScreenPointOf(form->EditList->Handle(), (r.left + r.right) / 2,
                                            (r.top + r.bottom) / 2));
        form->EditListDblClick(form->EditList);
    };
    const Way ways[] = {
        {"region menu", [&] { MenuItemOf(form->RegionMenu, form->actRegionEdit)->Click(); },
         "RenameEdit"},
        {"list popup",
         [&] { MenuItemOf(form->EditListPopup->Items(), form->actRegionEdit)->Click(); },
         "RenameEdit"},
        {"double click on the start", [&] { doubleClickOn(TRegionColumn::Start); }, "StartEd1"},
        {"double click on the end", [&] { doubleClickOn(TRegionColumn::End); }, "EndEd1"},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.What);
        const TModalResult result = Run<TForm2>(way.Command, [&](TForm2& w) {
            EXPECT_EQ(w.Caption(), "リージョンの編集 ： take_01");
            EXPECT_EQ(w.RenameEdit->Text(), "take_01");
            EXPECT_EQ(w.LengthEd1->Text(), "0:01.00");
            EXPECT_EQ(w.StartEd1->Text(), "0:01.00");
            EXPECT_EQ(w.EndEd1->Text(), "0:02.00");
            EXPECT_EQ(w.LengthEd2->Text(), "8,000");
            EXPECT_EQ(w.StartEd2->Text(), "8,000");
            EXPECT_EQ(w.EndEd2->Text(), "16,000");
            EXPECT_EQ(w.MaxLabel->Caption(), "0:10.00");
            EXPECT_EQ(w.MaxLabel2->Caption(), "80,000");
            EXPECT_EQ(w.actPreView->ShortCut(), form->actAudioRenamePlay->ShortCut());
            ASSERT_NE(w.ActiveControl(), nullptr);
            EXPECT_EQ(w.ActiveControl()->Name(), way.Focused);
            ClickCentre(w.CancelBtn);
        });
        EXPECT_EQ(result, mrCancel);
        EXPECT_EQ(form->EditColumn(), 0);
        EXPECT_FALSE(form->Document().Modified());
    }
}

TEST_F(EditWindowTest, OkWritesTheNameAndTheRangeBack)
{
    Open();
    const TModalResult result = EditRegion([&](TForm2& w) {
        Type(w.RenameEdit, "intro");
        Type(w.EndEd2, "20000");
        EXPECT_EQ(w.LengthEd2->Text(), "12,000");
        EXPECT_EQ(w.EndEd1->Text(), "0:02.50");
        Press('O', ssCtrl);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Record(0).Name, "intro");
    EXPECT_EQ(Text(0, TRegionColumn::Name), "intro");
    EXPECT_EQ(Record(0).Start, 8000);
    EXPECT_EQ(Record(0).End, 20000);
    EXPECT_EQ(Text(0, TRegionColumn::Length), "0:01.50");
    EXPECT_EQ(Text(0, TRegionColumn::End), "0:02.50");
    EXPECT_TRUE(form->Document().Modified());
}

TEST_F(EditWindowTest, AnotherRegionsNameIsRefusedAndTheWindowStaysOpen)
{
    Open();
    ScriptedMessageBoxes boxes({IDOK});
    const TModalResult result = EditRegion([&](TForm2& w) {
        Type(w.RenameEdit, "take_02");
        Type(w.StartEd2, "0");
        w.actOk->Execute();
        EXPECT_EQ(w.ModalResult(), mrNone) << "closed";
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].Text, "すでに同じ名前のリージョンがあります");
        EXPECT_EQ(Record(0).Name, "take_01");
        EXPECT_EQ(Record(0).Start, 8000);
        // Blanks are taken without the check.
        Type(w.RenameEdit, "  ");
        w.actOk->Execute();
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Record(0).Name, "  ");
    EXPECT_EQ(Record(0).Start, 0);
}

TEST_F(EditWindowTest, EscapeRestoresWhatWasTypedThenCloses)
{
    Open();
    const TModalResult result = EditRegion([&](TForm2& w) {
        Type(w.StartEd1, "0:01.5");
        EXPECT_EQ(w.StartEd2->Text(), "12,000");
        EXPECT_EQ(w.LengthEd1->Text(), "0:00.50");
        EXPECT_EQ(w.LengthEd2->Text(), "4,000");
        Press(VK_ESCAPE);
        EXPECT_EQ(w.ModalResult(), mrNone);
        EXPECT_EQ(w.StartEd1->Text(), "0:01.00");
        EXPECT_EQ(w.StartEd2->Text(), "8,000");
        EXPECT_EQ(w.LengthEd1->Text(), "0:01.00");
        EXPECT_EQ(w.LengthEd2->Text(), "8,000");
        EXPECT_EQ(w.StartEd1->SelLength(), static_cast<int>(w.StartEd1->Text().size()));
        Press(VK_ESCAPE);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Record(0).Start, 8000);
    EXPECT_FALSE(form->Document().Modified());
}

TEST_F(EditWindowTest, OutOfRangeValuesShowNoValueAndDisableOk)
{
    Open();
    const TModalResult result = EditRegion([&](TForm2& w) {
        Type(w.LengthEd1, "0");
        EXPECT_EQ(w.LengthEd2->Text(), "---");
        EXPECT_EQ(w.EndEd2->Text(), "---");
        EXPECT_FALSE(w.actOk->Enabled());
        Press('O', ssCtrl);
        EXPECT_EQ(w.ModalResult(), mrNone);
        // A length of 0 samples is taken.
        Type(w.LengthEd2, "0");
        EXPECT_EQ(w.EndEd2->Text(), "8,000");
        EXPECT_TRUE(w.actOk->Enabled());
        // Pasted text the keys would refuse never raises.
        Clipboard()->SetAsText("-5x");
        w.StartEd2->SetFocus();
        w.StartEd2->SelectAll();
        Press('V', ssCtrl);
        EXPECT_EQ(w.StartEd1->Text(), "---");
        EXPECT_FALSE(w.actOk->Enabled());
        ClickCentre(w.CancelBtn);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Record(0).End, 16000);
}

TEST_F(EditWindowTest, NextAndBackApplyValidEditsAndMoveTheListSelection)
{
    Open();
    const TModalResult result = EditRegion([&](TForm2& w) {
        Type(w.EndEd2, "12,000");
        Press('N', ssCtrl);
        EXPECT_EQ(Record(0).End, 12000);
        EXPECT_TRUE(SelectedAlone(1));
        EXPECT_EQ(w.RenameEdit->Text(), "take_02");
        EXPECT_EQ(w.StartEd2->Text(), "24,000");
        EXPECT_EQ(w.Caption(), "リージョンの編集 ： take_02");
        // An invalid edit moves without applying.
        Type(w.StartEd1, "9:99");
        ClickCentre(w.NextBtn);
        EXPECT_EQ(Record(1).Start, 24000);
        EXPECT_TRUE(SelectedAlone(2));
        w.actNext->Update();
        EXPECT_FALSE(w.actNext->Enabled()); // the last item
        // Up in the name edit is Back.
        w.RenameEdit->SetFocus();
        Press(VK_UP);
        EXPECT_TRUE(SelectedAlone(1));
        Press(VK_ESCAPE); // nothing changed since the move: closes
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_TRUE(form->Document().Modified());
}

TEST_F(EditWindowTest, HoweverTheWindowClosesTheWaveformShowsTheRegionSelectedInTheList)
{
    Open();
    const auto expectShown = [&](std::int32_t start, std::int32_t end) {
        const TWaveViewState& view = form->Document().View();
        EXPECT_TRUE(view.HasSelection && view.RegionSelection);
        EXPECT_EQ(view.SelStart, start);
        EXPECT_EQ(view.SelEnd, end);
        EXPECT_EQ(form->InfoRegionLabel->Caption(),
                  SelectionLabelText(form->ViewDocument(), start, end));
    };
    const auto highlighted = [&](std::int32_t sample) {
        return form->WaveImage->Picture()->Canvas()->Pixel(form->SampleToX(sample), 30) ==
               form->FOption.PreBackColor;
    };
    EditRegion([&](TForm2& w) {
        Type(w.StartEd2, "4000");
        Type(w.EndEd2, "20000");
        Press('O', ssCtrl);
    });
    expectShown(4000, 20000);
    EXPECT_TRUE(highlighted(6000));
    EXPECT_TRUE(highlighted(18000));

    EditRegion([&](TForm2& w) {
        Press('N', ssCtrl);
        ClickCentre(w.CancelBtn);
    });
    expectShown(24000, 32000);

    EditRegion([&](TForm2& w) {
        Type(w.EndEd2, "36000");
        Press('P', ssCtrl);
        Press(VK_ESCAPE);
    });
    EXPECT_TRUE(SelectedAlone(0));
    expectShown(4000, 20000);
    EXPECT_FALSE(highlighted(30000));
}

TEST_F(EditWindowTest, TheNameNeverTakesFileNameCharactersFromAPaste)
{
    Open();
    const TModalResult result = EditRegion([&](TForm2& w) {
        Type(w.RenameEdit, "a/b*c");
        EXPECT_EQ(w.RenameEdit->Text(), "abc");
        {
            ScopedKeyState enter({VK_RETURN});
            Type(w.RenameEdit, "a:b");
            EXPECT_EQ(w.RenameEdit->Text(), "a:b"); // typed with Enter held
        }
        Clipboard()->SetAsText("..\\x<y>|\"?z");
        w.RenameEdit->SelectAll();
        Press('V', ssCtrl);
        EXPECT_EQ(w.RenameEdit->Text(), "..xyz");
        ClickCentre(w.CancelBtn);
    });
    EXPECT_EQ(result, mrCancel);
}

// --- The cut-bar window

class CutBarEditWindowTest : public EditWindowTest
{
protected:
    void OpenWithBar()
    {
        Open();
        form->actViewCutbarlist->Execute();
        form->AddCutBars({16000, 56000});
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
        form->CutManageList->SetFocus();
        form->CutManageList->SetSelected(form->CutManageList->Items()->Item(0));
        PumpMessages();
    }
    TModalResult EditBar(const std::function<void(TForm9&)>& act)
    {
        return Run<TForm9>([&] { form->CutManageListDblClick(form->CutManageList); }, act);
    }
    std::vector<std::int32_t> Bars() const { return form->Document().CutBarSamples(); }
};

TEST_F(CutBarEditWindowTest, OpensOnTheSelectedBarAndOkWithoutAnEditKeepsIt)
{
    OpenWithBar();
    const std::function<void()> ways[] = {
        [&] { form->CutManageListDblClick(form->CutManageList); },
        [&] { form->actRegionEdit->Execute(); },
    };
    for (const auto& way : ways) {
        const TModalResult result = Run<TForm9>(way, [&](TForm9& w) {
            EXPECT_EQ(w.Caption(), "カットバーの編集");
            EXPECT_EQ(w.LengthEd1->Text(), "0:02.00");
            EXPECT_EQ(w.LengthEd2->Text(), "16,000");
            EXPECT_EQ(w.MaxLabel->Caption(), "0:10.00");
            EXPECT_EQ(w.MaxLabel2->Caption(), "80,000");
            ClickCentre(w.OKBtn);
            EXPECT_FALSE(w.FOkResult);
        });
        EXPECT_EQ(result, mrOk);
        EXPECT_EQ(Bars(), (std::vector<std::int32_t>{16000, 56000}));
        EXPECT_FALSE(form->Document().Modified());
    }
}

TEST_F(CutBarEditWindowTest, ATimeBeyondTheFileShowsNoValueAndOkIsOff)
{
    OpenWithBar();
    EditBar([&](TForm9& w) {
        Type(w.LengthEd1, "0:10.5");
        EXPECT_EQ(w.LengthEd2->Text(), "---");
        EXPECT_FALSE(w.OKBtn->Enabled());
        Type(w.LengthEd1, "0:07");
        EXPECT_EQ(w.LengthEd2->Text(), "56,000");
        EXPECT_TRUE(w.OKBtn->Enabled());
        ClickCentre(w.CancelBtn);
    });
    EXPECT_EQ(Bars(), (std::vector<std::int32_t>{16000, 56000}));
}

TEST_F(CutBarEditWindowTest, OkStoresTheNewPlaceInOrder)
{
    OpenWithBar();
    const TModalResult result = EditBar([&](TForm9& w) {
        Type(w.LengthEd2, "60000");
        EXPECT_EQ(w.LengthEd1->Text(), "0:07.50");
        Press(VK_RETURN);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Bars(), (std::vector<std::int32_t>{56000, 60000}));
    EXPECT_EQ(form->CutManageList->Items()->Item(1)->SubItems()->Strings(0), "0:07.50");
    EXPECT_TRUE(form->Document().Modified());
}

TEST_F(CutBarEditWindowTest, EscapeRestoresBothEditsThenCloses)
{
    OpenWithBar();
    const TModalResult result = EditBar([&](TForm9& w) {
        Type(w.LengthEd2, "100");
        Press(VK_ESCAPE);
        EXPECT_EQ(w.ModalResult(), mrNone);
        EXPECT_EQ(w.LengthEd1->Text(), "0:02.00");
        EXPECT_EQ(w.LengthEd2->Text(), "16,000");
        EXPECT_FALSE(w.OKBtn->Enabled());
        Press(VK_ESCAPE);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Bars(), (std::vector<std::int32_t>{16000, 56000}));
}
