// The file properties, about and help commands: the facts of the open file
// read afresh into the properties window, and the about window, both shown
// modally and freed; the help file beside the program, opened by the shell.
#include "ostrel.h"

#include "FileFacts.h"

#include "dialogs/ql_about.h"
#include "dialogs/ql_property.h"

#include "audio/DirectWavEngine.h"

#include "classlib/Application.h"
#include "classlib/FilePaths.h"
#include "classlib/Seams.h"

namespace {

constexpr const char* kHelpFileName = "help.chm";

} // namespace

void TFormVusk::WirePropertyCommands()
{
    actFileProperty->OnExecute = TNotifyEvent(this, &TFormVusk::actFilePropertyExecute);
    actAbout->OnExecute = TNotifyEvent(this, &TFormVusk::actAboutExecute);
    actHelp->OnExecute = TNotifyEvent(this, &TFormVusk::actHelpExecute);
    actFileQuit->OnExecute = TNotifyEvent(this, &TFormVusk::actFileQuitExecute);
}

void TFormVusk::actFilePropertyExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy())
        return;
    TWavInfo info;
    info.Path = FEngine->Path();
    GetWavInfo(info);
    // Changed or gone since it was opened: there are no facts to show.
    if (!info.IsPlayable) {
        ShowOpenFailed();
        return;
    }
    TScopedFree<TForm3> window(new TForm3(this));
    window->ShowFacts(FileFactsOf(info));
    window->ShowModal();
}

void TFormVusk::actAboutExecute(TObject* Sender)
{
    if (FDocument.Busy())
        return;
    TScopedFree<TForm7> window(new TForm7(this));
    window->ShowModal();
}

void TFormVusk::actHelpExecute(TObject* Sender)
{
    const AnsiString help = ExtractFilePath(Application->ExeName()) + kHelpFileName;
    if (!FileExists(help))
        return;
    TShellExecuteRequest request;
    request.Owner = Handle();
    request.Operation = "OPEN";
    request.File = "\"" + help + "\"";
    request.ShowCommand = SW_SHOWNORMAL;
    Seams().ShellExecute(request);
}

// The close rules decide, the question on unsaved regions included.
void TFormVusk::actFileQuitExecute(TObject* Sender)
{
    if (!FDocument.Busy())
        Close();
}
