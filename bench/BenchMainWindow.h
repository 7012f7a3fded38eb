// The main window in the benchmark's own process, made as the program's
// entry makes it: OLE, the toolbar framework and the toolkit's layers
// started around an application object, the window shown with its settings
// file where the benchmark says; freed (its region list taken as unchanged)
// and the layers stopped in the entry's order when it goes.
#pragma once

#include "classlib/Application.h"
#include "editor/ostrel.h"

#include <memory>

class TBenchMainWindow
{
public:
    explicit TBenchMainWindow(const AnsiString& settingsPath);
    ~TBenchMainWindow();
    TBenchMainWindow(const TBenchMainWindow&) = delete;
    TBenchMainWindow& operator=(const TBenchMainWindow&) = delete;

    TFormVusk& Form() { return *FForm; }

private:
    // Started before the application object, stopped after it.
    struct TLayers
    {
        TLayers();
        ~TLayers();
        bool ToolkitStarted = false;
    };

    TLayers FLayers;
    TApplication FApplication;
    std::unique_ptr<TFormVusk> FForm;
};
