// The rename-strings choice window: the stored choice selected and focused
// at the start, the choice written back when the window is freed after OK,
// Cancel, Enter or Escape alike, and the round trip through the settings
// file of a running main window.
#include "dialogs/ql_loadlist.h"

#include "editor/MainWindowFixture.h"

#include "support/ModalDriver.h"
#include "support/TestSeams.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TExtRadioButton* SelectedOption(TFormSelType& window)
{
    for (TExtRadioButton* option : {window.ck1, window.ck2, window.ck3})
        if (option->Checked())
            return option;
    return nullptr;
}

// Runs the exchange with act working the window inside its modal loop;
// the window must have closed by the end of act.
bool Choose(std::int32_t& stored, const std::function<void(TFormSelType&)>& act)
{
    ScriptedModalForms modal;
    modal.Add([&](TCustomForm* shown) {
        auto* window = dynamic_cast<TFormSelType*>(shown);
        if (!window)
            return mrCancel;
        act(*window);
        EXPECT_NE(window->ModalResult(), mrNone) << "still open";
        return window->ModalResult() == mrNone ? mrCancel : mrNone;
    });
    const bool ok = ChooseLoadListType(nullptr, stored);
    EXPECT_EQ(modal.Shown().size(), 1u);
    return ok;
}

} // namespace

TEST(LoadListChoice, TheStoredChoiceIsSelectedAndWrittenBackAsItStands)
{
    struct
    {
        std::int32_t Stored;
        const char* Option;
        std::int32_t Written;
    } const cases[] = {
        {1, "ck1", 1}, {2, "ck2", 2}, {3, "ck3", 3}, {0, "ck1", 1}, {4, "ck1", 1}, {-2, "ck1", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Stored);
        std::int32_t stored = c.Stored;
        auto* window = new TFormSelType(nullptr, stored);
        TExtRadioButton* selected = SelectedOption(*window);
        ASSERT_NE(selected, nullptr);
        EXPECT_EQ(selected->Name(), c.Option);
        EXPECT_FALSE(window->FOkResult);
        EXPECT_EQ(stored, c.Stored) << "written before the window goes";
        FreeAndNil(window);
        EXPECT_EQ(stored, c.Written);
    }
}

TEST(LoadListChoice, EveryWayOfClosingStoresTheSelectedChoiceAndOnlyOkAccepts)
{
    struct
    {
        const char* Way;
        std::function<void(TFormSelType&)> Close;
        bool Ok;
    } const ways[] = {
        {"OK button", [](TFormSelType& w) { ClickCentre(w.OkBtn); }, true},
        {"Cancel button", [](TFormSelType& w) { ClickCentre(w.CancelBtn); }, false},
        {"Enter", [](TFormSelType& w) { PressKey(FocusedWindow(), VK_RETURN); }, true},
        {"Escape", [](TFormSelType& w) { PressKey(FocusedWindow(), VK_ESCAPE); }, false},
        {"title bar's close", [](TFormSelType& w) { w.Close(); }, false},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.Way);
        std::int32_t stored = 1;
        const bool ok = Choose(stored, [&](TFormSelType& window) {
            ASSERT_TRUE(ActivateForm(&window));
            ClickCentre(window.ck3);
            ASSERT_TRUE(window.ck3->Checked());
            way.Close(window);
        });
        EXPECT_EQ(ok, way.Ok);
        EXPECT_EQ(stored, 3);
    }
}

// The stored choice has the focus at the start, so the key starts there.
TEST(LoadListChoice, ArrowKeysWalkTheOptionsInTheirOrderAndMoveTheChoice)
{
    struct
    {
        std::int32_t Stored;
        WORD Key;
        std::int32_t Chosen;
    } const cases[] = {
        {2, VK_DOWN, 3}, {2, VK_UP, 1}, {3, VK_DOWN, 1}, {1, VK_UP, 3}, {1, VK_RIGHT, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Stored << " key " << c.Key);
        std::int32_t stored = c.Stored;
        const bool ok = Choose(stored, [&](TFormSelType& window) {
            ASSERT_TRUE(ActivateForm(&window));
            PressKey(FocusedWindow(), c.Key);
            TExtRadioButton* options[] = {window.ck1, window.ck2, window.ck3};
            EXPECT_EQ(FocusedWindow(), options[c.Chosen - 1]->Handle());
            PressKey(FocusedWindow(), VK_RETURN);
        });
        EXPECT_TRUE(ok);
        EXPECT_EQ(stored, c.Chosen);
    }
}

// A Tab walk round the window and back only passes the buttons by: it
// comes back to the option the arrow key chose, and that stays the choice.
TEST(LoadListChoice, ATabWalkRoundTheWindowKeepsTheChoiceTheArrowKeyMade)
{
    struct
    {
        std::int32_t Stored;
        WORD Key;
        TShiftState Walk;
        std::int32_t Chosen;
    } const cases[] = {
        {1, VK_DOWN, 0, 2},
        {3, VK_UP, ssShift, 2},
        {2, VK_DOWN, ssShift, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Stored << " key " << c.Key);
        std::int32_t stored = c.Stored;
        const bool ok = Choose(stored, [&](TFormSelType& window) {
            ASSERT_TRUE(ActivateForm(&window));
            RealKeyPress(c.Key);
            // The checked option, OK and Cancel: three stops round.
            for (int i = 0; i < 3; ++i)
                RealKeyPress(VK_TAB, c.Walk);
            TExtRadioButton* options[] = {window.ck1, window.ck2, window.ck3};
            EXPECT_EQ(FocusedWindow(), options[c.Chosen - 1]->Handle());
            RealKeyPress(VK_RETURN);
        });
        EXPECT_TRUE(ok);
        EXPECT_EQ(stored, c.Chosen);
    }
}

// The main window's LOADLIST TYPE, from its settings file to the window and
// back to the file when the program closes.
class LoadListChoiceSettingTest : public MainWindowTest
{
};

TEST_F(LoadListChoiceSettingTest, TheChoiceReachesTheSettingsFileAfterCancel)
{
    StartWithSettings("[LOADLIST]\nTYPE=3\n");
    const bool ok = Choose(form->FOption.LoadListType, [](TFormSelType& window) {
        EXPECT_TRUE(window.ck3->Checked());
        window.ck2->SetChecked(true);
        window.CancelBtn->Click();
    });
    EXPECT_FALSE(ok);
    CloseAndFree();
    EXPECT_EQ(Settings().ReadInteger("LOADLIST", "TYPE", 0), 2);
}
