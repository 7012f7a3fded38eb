// CD ripping and recording from the main window. The rip command opens the
// CD ripping window when the CD-ripping library stands beside the program
// and hands the files it wrote to the file list; the recording command
// opens the recording window, opens what it recorded when asked, and keeps
// its choices for the next time.
#include "ostrel.h"

#include "dialogs/ql_record.h"
#include "dialogs/ql_rip.h"

#include "audio/PipeWave.h"

#include "classlib/Application.h"
#include "classlib/FilePaths.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"

#include <exception>

namespace {

constexpr const char* kRipLibraryFile = "CDRip.dll";
constexpr const char* kRipLibraryMissing = "CDリッピングには『CDRip.dll』が必要です";

} // namespace

void TFormVusk::WireCaptureEvents()
{
    actFileRip->OnExecute = TNotifyEvent(this, &TFormVusk::actFileRipExecute);
}

void TFormVusk::actFileRipExecute(TObject* Sender)
{
    const AnsiString library =
        IncludeTrailingBackslash(ExtractFilePath(Application->ExeName())) + kRipLibraryFile;
    if (!FileExists(library)) {
        SeamMessageBox(Handle(), kRipLibraryMissing, Application->Title(), MB_OK);
        return;
    }
    TForm1* made = nullptr;
    try {
        // Loading the library and reading the drives take a while; the window
        // itself then shows the normal cursor.
        TScreenCursorScope hourglass(crHourGlass);
        made = new TForm1(this);
    } catch (const std::exception& e) {
        SeamMessageBox(Handle(), e.what(), Application->Title(), MB_OK);
        return;
    }
    TScopedFree<TForm1> window(made);
    window->AddRipChk->SetChecked(FOption.AddRipFile);
    window->ShowModal();
    FOption.AddRipFile = window->AddRipChk->Checked();
    if (!FOption.AddRipFile || !window->FRipped || !FileListWindowExists())
        return;
    for (const AnsiString& path : window->FWrittenFiles)
        AddToFileList(path);
    if (!actViewFilelist->Checked())
        ShowFileListWindow();
}

void TFormVusk::actAudioRecordExecute(TObject* Sender)
{
    TScopedFree<TForm11> window(new TForm11(this, FOption));
    window->ShowModal();
    if (window->FOpenAfter)
        OpenWavFile(window->WaveOut->FileName());
    FOption.InDevice = window->DeviceName();
    FOption.InRate = window->RateValue();
    FOption.InChannel = window->ChannelCount();
    FOption.Limit = window->LimitChk->Checked();
    FOption.LimitTime = window->LimitSpin->AsInteger();
}
