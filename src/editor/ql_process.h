// The processing window: a small always-on-top window over the main window
// that shows the progress of a long job (reading a file's draw data,
// bouncing regions), its estimated remaining time and a Cancel button,
// while the main window is disabled.
//
//   TForm4            the window and the frame every job runs in: begin,
//                     progress texts, stop (cancelled or failed, waiting for
//                     "閉じる"), end, and the wait until the window closes
//   TProcessWindowScope  frees the window and gives the main window back
//
// The window knows nothing of what a job does: each job sets its own
// caption and texts and reports through the frame. The jobs live with their
// concerns: the draw-data build with the document (ostrel_document.cpp),
// the bounce with the bounce commands (ostrel_bounce.cpp).
#pragma once

#include "classlib/Form.h"
#include "classlib/Label.h"
#include "controls/ExtControls.h"
#include "classlib/StandardControls.h"

namespace ProcessText {
inline constexpr const char* CloseCaption = "閉じる"; // CancelBtn once the job stopped
} // namespace ProcessText

class TForm4 : public TForm
{
public:
    // The owner is the main window: the window centres on it and enables it
    // again when it closes.
    explicit TForm4(TComponent* AOwner);

    TLabel* MesLabel1;    // status text
    TLabel* MesLabel2;    // second text, right-aligned
    TExtProgressBar* Bar; // percent, 0..100
    TButton* CancelBtn;   // "&Cancel", Escape; "閉じる" once a job stopped
    TCheckBox* CloseChk;  // "終了時にこのウィンドウを閉じる"

    // While it does not read "閉じる": asks the job to stop; after that,
    // closes the window.
    void CancelBtnClick(TObject* Sender);
    // Refused while a job runs; otherwise gives the main window back.
    void FormClose(TObject* Sender, TCloseAction& Action);
    // No job runs yet.
    void FormShow(TObject* Sender);
    // Shows the window and paints it before anything else that waits (the
    // owner's repaint included), then lets pending messages through and
    // paints whatever of the owner still waits: the window is the first
    // thing a job shows, and the owner stands painted behind it while the
    // job runs.
    void ShowPainted();

    // --- The frame of a job
    // Starts a job: not cancelled, the clock started, the bar 0..100.
    void BeginJob();
    // Whether the progress shown is due for a change: at the first report
    // of a job, then at most every 50 ms. A repaint of the window costs more
    // than a chunk of work, and nobody reads faster.
    bool ProgressDue();
    // The estimated time left at percent done, as m:ss, or "----" while
    // nothing can be estimated yet.
    AnsiString RemainingTimeText(int percent) const;
    // Handles the messages queued now (Cancel works through this); false
    // when the application is quitting.
    bool LetMessagesThrough();
    // The job stopped early (cancelled, or failed where the user should
    // read why): text in red, Cancel reads "閉じる", the window stays until
    // the user closes it.
    void StopJob(const AnsiString& text);
    // The job is over: closes the window, which gives the main window back.
    void EndJob();
    // The job is over and the window stays until the user closes it: text
    // in black, Cancel reads "閉じる".
    void FinishJob(const AnsiString& text);
    // Handles messages, blocking between them, until the window has closed.
    // False when the application is quitting: the window is closed then and
    // the quit message posted again for the outer loop.
    bool WaitUntilClosed();

    bool FCancelled = false; // the user asked the job to stop
    bool FRunning = false;   // a job runs; the window refuses to close

private:
    void CreateControls();
    // Cancel reads "閉じる", the job no longer runs and the window waits.
    void ShowStopped(const AnsiString& text, TColor color);

    TCustomForm* FMainWindow;    // not owned: the owner, disabled while the window runs
    DWORD FStartTick = 0;        // tick count when the job began, ms
    DWORD FShownTick = 0;        // tick count when progress was last shown, ms
    bool FProgressShown = false; // progress was shown since the job began
};

// Frees the processing window and gives the main window back on every way
// out of a job and its wait, an exception included.
class TProcessWindowScope
{
public:
    TProcessWindowScope(TCustomForm& mainWindow, TForm4* window)
        : FMainWindow(mainWindow), FWindow(window)
    {
    }
    ~TProcessWindowScope();
    TProcessWindowScope(const TProcessWindowScope&) = delete;
    TProcessWindowScope& operator=(const TProcessWindowScope&) = delete;

private:
    TCustomForm& FMainWindow; // not owned
    TForm4* FWindow;          // owned
};
