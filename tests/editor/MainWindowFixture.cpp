#include "MainWindowFixture.h"

#include "classlib/FilePaths.h"
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
