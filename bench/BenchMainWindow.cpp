#include "BenchMainWindow.h"

#include "controls/DropSource.h"
#include "editor/ToolkitStartup.h"
#include "toolbar/BarItem.h"

#include "support/WindowDriver.h"

#include <ole2.h>

TBenchMainWindow::TLayers::TLayers()
{
    OleInitialize(nullptr);
    DropFormats();
    StartBarFramework();
}

TBenchMainWindow::TLayers::~TLayers()
{
    if (ToolkitStarted)
        ToolkitShutdown();
    StopBarFramework();
    OleUninitialize();
}

TBenchMainWindow::TBenchMainWindow(const AnsiString& settingsPath) : FApplication(nullptr)
{
    ToolkitStartup();
    FLayers.ToolkitStarted = true;
    FForm.reset(new TFormVusk(nullptr));
    FForm->SetSettingsPath(settingsPath);
    FForm->Show();
    testing_support::PumpMessages();
}

TBenchMainWindow::~TBenchMainWindow()
{
    FForm->Document().MarkSaved();
    FForm.reset();
    testing_support::PumpMessages();
}
