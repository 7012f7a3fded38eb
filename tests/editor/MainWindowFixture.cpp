#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "dialogs/ql_preference.h"

#include "classlib/Application.h"
#include "classlib/FilePaths.h"
#include "classlib/WideText.h"
#include "classlib/Seams.h"

#include "support/BarDriver.h"
#include "support/ModalDriver.h"
#include "support/ModalScript.h"

using namespace testing_support;

TBarView* OpenMenuOf(TBarCustomItem* opener)
{
    for (TBarPopupWindow* popup : ThreadPopupWindows())
        if (IsWindowVisible(popup->WindowHandle()) && popup->View()->ParentItem() == opener)
            return popup->View();
    return nullptr;
}

TBarCustomItem* MenuItemOf(TBarCustomItem* menu, TBasicAction* action)
{
    for (int i = 0; i < menu->Count(); ++i) {
        if (menu->Items(i)->Action() == action)
            return menu->Items(i);
        if (TBarCustomItem* inner = MenuItemOf(menu->Items(i), action))
            return inner;
    }
    return nullptr;
}

std::vector<AnsiString> RegionTexts(const TFormVusk* form, TRegionColumn column)
{
    std::vector<AnsiString> texts;
    for (int row = 0; row < form->RegionCount(); ++row)
        texts.push_back(form->RegionText(row, column));
    return texts;
}

std::vector<TRegionRange> RegionRanges(const TFormVusk* form, int first)
{
    std::vector<TRegionRange> ranges;
    for (int row = first; row < form->RegionCount(); ++row)
        ranges.push_back({form->RegionAt(row)->Start, form->RegionAt(row)->End});
    return ranges;
}

void SelectOnlyRegions(TFormVusk* form, std::initializer_list<int> rows)
{
    form->ClearRegionSelection();
    for (int row : rows)
        form->SelectRegionRow(row, false);
    // The loop idles after a selection, so the commands follow it.
    PumpMessages();
}

TPoint RegionCell(const TFormVusk* form, int row, TRegionColumn column)
{
    TRect r = form->RegionCellRect(row, column);
    if (column == TRegionColumn::Name)
        r.right = r.left + form->EditList->Columns()->Items(0)->Width();
    return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

bool RightClickAndChoose(POINT at, TBarCustomItem* item, const std::function<bool()>& done)
{
    bool enabledShown = false;
    ModalScript script;
    script.WaitUntil([] { return StandalonePopupView() != nullptr; }, "the popup opens")
        .Then([&] {
            if (!item) {
                ModalScript::PressKey(VK_ESCAPE);
                return;
            }
            enabledShown = item->Enabled();
            const POINT centre = ScreenCentre(StandalonePopupView(), item);
            ModalScript::RealPress(centre);
            ModalScript::RealRelease(centre);
        });
    script.Run([&] {
        RealRightClick(at);
        PumpUntil(done, 1000);
    });
    return enabledShown;
}

void ClickMenuItem(TFormVusk* form, TBarCustomItem* item)
{
    ASSERT_NE(item, nullptr) << "no menu item";
    // From the menu's title in the bar down to the item.
    std::vector<TBarCustomItem*> path;
    for (TBarCustomItem* step = item; step->Parent(); step = step->Parent())
        path.insert(path.begin(), step);
    ASSERT_EQ(path.front()->Parent(), form->MenuBar->Items()) << "not on the menu bar";
    ActivateForm(form);
    bool clicked = false;
    ModalScript script;
    for (size_t level = 1; level < path.size(); ++level) {
        TBarCustomItem* opener = path[level - 1];
        TBarCustomItem* next = path[level];
        const bool last = level + 1 == path.size();
        script.WaitUntil([opener] { return OpenMenuOf(opener) != nullptr; }, "its menu opens")
            .Then([opener, next, last, &clicked] {
                const POINT centre = ScreenCentre(OpenMenuOf(opener), next);
                ModalScript::RealPress(centre);
                ModalScript::RealRelease(centre);
                clicked = last;
            });
    }
    // The press on the title runs the menu loop inside its dispatch; the
    // chosen item's click waits in the queue until the loop has ended.
    script.Run([&] {
        const POINT title = ScreenCentre(form->MenuBar->View(), path.front());
        ModalScript::RealPress(title);
        ModalScript::RealRelease(title);
        while (!clicked && !script.WatchdogFired() && !Application->Terminated())
            Application->HandleMessage();
    });
    PumpMessages();
}

void ClickMenuItem(TFormVusk* form, TAction* action)
{
    ClickMenuItem(form, MenuItemOf(form->MenuBar->Items(), action));
}

void MainWindowTest::SetUp()
{
    iniPath = folder / "zandrel.ini";
    Seams().WaveOutDevices = [] { return std::vector<AnsiString>{"Null Out A", "Null Out B"}; };
}

void MainWindowTest::TearDown()
{
    FreeAndNil(form);
    PumpMessages();
}

TFormVusk* MainWindowTest::Start(std::vector<AnsiString> args)
{
    form = new TFormVusk(nullptr);
    form->SetSettingsPath(iniPath);
    form->SetCommandLineArgs(std::move(args));
    form->Show();
    EXPECT_TRUE(PumpUntil([this] { return form->StartFinished(); }));
    return form;
}

std::string MainWindowTest::StartWithWav(const std::string& name, int frames, int rate)
{
    Start();
    const std::string path = WriteHalfSilentWav(folder, name, frames, rate);
    LoadTestDocument(*form, path);
    return path;
}

void MainWindowTest::CloseAndFree()
{
    form->Close();
    PumpMessages();
    FreeAndNil(form);
    PumpMessages();
}

bool MainWindowTest::SettingsExist() const
{
    return FileExists(iniPath);
}

TRect MainWindowTest::ToolButtonRect(TExtToolbar* bar, TAction* action)
{
    PumpMessages();
    for (int i = 0; i < bar->Items()->Count(); ++i) {
        TBarCustomItem* item = bar->Items()->Items(i);
        TBarItemViewer* viewer = item->Action() == action ? bar->View()->Find(item) : nullptr;
        if (!viewer || !viewer->Shown() || viewer->Clipped())
            continue;
        const TRect r = viewer->BoundsRect();
        const POINT topLeft = ScreenPointOf(bar->Handle(), r.left, r.top);
        return TRect(topLeft.x, topLeft.y, topLeft.x + r.Width(), topLeft.y + r.Height());
    }
    return TRect();
}

void MainWindowTest::ClickToolButton(TExtToolbar* bar, TAction* action)
{
    const TRect button = ToolButtonRect(bar, action);
    if (button.Width() <= 0) {
        ADD_FAILURE() << "no button for " << action->Name();
        return;
    }
    RealClick({(button.left + button.right) / 2, (button.top + button.bottom) / 2});
}

void MainWindowTest::ChangePreferences(const std::function<bool(TForm6&)>& answer)
{
    ScriptedModalForms modal;
    modal.Add([&](TCustomForm* shown) -> TModalResult {
        auto* window = dynamic_cast<TForm6*>(shown);
        EXPECT_EQ(window, Form6);
        if (!window)
            return mrCancel;
        if (!answer(*window))
            return mrCancel;
        window->OkBtn->Click();
        return window->ModalResult();
    });
    form->actFilePreference->Execute();
    ASSERT_EQ(modal.Shown().size(), 1u);
    EXPECT_EQ(Form6, nullptr);
}

void MainWindowTest::ChangeSilenceThreshold(int level)
{
    ChangePreferences([level](TForm6& window) {
        window.ZeroSpin->SetValue(level);
        return true;
    });
}

void MainWindowTest::FocusWave()
{
    ASSERT_TRUE(ActivateForm(form));
    form->FocusBtn->SetFocus();
    PumpMessages();
}

void MainWindowTest::PressOnWave(WORD key, TShiftState shift)
{
    FocusWave();
    PressKey(form->FocusBtn->Handle(), key, shift);
}

void MainWindowTest::AnswerFileDialogs(std::vector<AnsiString> names)
{
    answers = std::move(names);
    Seams().FileDialog = [this](TFileDialogRequest& request) {
        asked.push_back(request);
        EXPECT_FALSE(answers.empty()) << "a file dialog nobody expected";
        if (answers.empty())
            return false;
        const AnsiString name = answers.front();
        answers.erase(answers.begin());
        if (name.empty())
            return false;
        request.FileName = name;
        request.Files = {name};
        return true;
    };
}

AnsiString StatusText(const TFormVusk* form)
{
    return WideToAnsi(form->MessageLabel->Caption());
}

TColor StatusColor(const TFormVusk* form)
{
    return form->MessageLabel->FontSettings()->Color();
}
