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

void MainWindowTest::ClickToolButton(TToolBarPanel* bar, TAction* action)
{
    for (int i = 0; i < bar->ControlCount(); ++i) {
        TControl* button = bar->Controls(i);
        if (button->Action() != action)
            continue;
        RealClick(ScreenPointOf(bar->Handle(), button->Left() + button->Width() / 2,
                                button->Top() + button->Height() / 2));
        return;
    }
    ADD_FAILURE() << "no button for " << action->Name();
}

AnsiString StatusText(const TFormVusk* form)
{
    return WideToAnsi(form->MessageLabel->Caption());
}

TColor StatusColor(const TFormVusk* form)
{
    return form->MessageLabel->FontSettings()->Color();
}
