#include "MainWindowFixture.h"

#include "classlib/FilePaths.h"
#include "classlib/WideText.h"
#include "classlib/Seams.h"

using namespace testing_support;

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
    PumpMessages();
    return form;
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

AnsiString StatusText(const TFormVusk* form)
{
    return WideToAnsi(form->MessageLabel->Caption());
}

TColor StatusColor(const TFormVusk* form)
{
    return form->MessageLabel->FontSettings()->Color();
}
