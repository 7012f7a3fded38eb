#include "support/TestSeams.h"

#include "support/ModalDriver.h"

#include <gtest/gtest.h>

namespace testing_support {

void InstallStrictSeams()
{
    ResetSeams();
    TClassLibSeams& s = Seams();
    s.MessageBox = [](const TMessageBoxRequest& r) {
        ADD_FAILURE() << "unexpected message box: " << (r.Wide ? "(wide text)" : r.Text);
        return IDCANCEL;
    };
    s.FileDialog = [](TFileDialogRequest& r) {
        ADD_FAILURE() << "unexpected file dialog: " << r.Title;
        return false;
    };
    s.ColorDialog = [](TColorDialogRequest&) {
        ADD_FAILURE() << "unexpected colour dialog";
        return false;
    };
    s.FolderDialog = [](TFolderDialogRequest& r) {
        ADD_FAILURE() << "unexpected folder dialog: " << r.Title;
        return false;
    };
    s.ShellExecute = [](const TShellExecuteRequest& r) -> intptr_t {
        ADD_FAILURE() << "unexpected shell execute: " << r.File;
        return 0;
    };
    s.ModalShown = FailUnexpectedModalForm;
    s.TrackPopupMenu = [](HMENU, HWND, POINT) -> UINT {
        ADD_FAILURE() << "unexpected pop-up menu";
        return 0;
    };
    // The host's drives are no test's business: no CD drive unless a test
    // lists some.
    s.CDDrives = [] { return std::vector<TCDDriveInfo>{}; };
    s.CannotHappen = [](const char* assumption, const char* file, int line) {
        ADD_FAILURE_AT(file, line) << "cannot happen: " << assumption;
    };
    // Posted input leaves the system's key state alone: nothing is held
    // unless a test says so.
    s.KeyState = [](int) -> SHORT { return 0; };
}

ScriptedMessageBoxes::ScriptedMessageBoxes(std::vector<int> answers)
    : FAnswers(answers.begin(), answers.end()), FPrevious(Seams().MessageBox)
{
    Seams().MessageBox = [this](const TMessageBoxRequest& r) {
        FShown.push_back(r);
        if (FAnswers.empty()) {
            ADD_FAILURE() << "message box beyond the script: " << r.Text;
            return IDCANCEL;
        }
        int answer = FAnswers.front();
        FAnswers.pop_front();
        return answer;
    };
}

ScriptedMessageBoxes::~ScriptedMessageBoxes()
{
    Seams().MessageBox = FPrevious;
}

ScopedFastTicks::ScopedFastTicks(DWORD stepMs) : FPrevious(Seams().TickCount)
{
    Seams().TickCount = [this, stepMs] { return FNow.fetch_add(stepMs) + stepMs; };
}

ScopedFastTicks::~ScopedFastTicks()
{
    Seams().TickCount = FPrevious;
}

} // namespace testing_support
