// The application object: the main thread's message loop, the main form,
// hints, shortcut routing, the title and the program's path, and the one
// place where uncaught exceptions end up.
//
// Every callback boundary (window procedures, timer and hook callbacks,
// thread procedures, device callbacks, COM methods) catches and hands the
// exception here: 32-bit mingw code cannot unwind through system frames.
//
// The loop routes keys before translation: a key-down in a control goes to
// the control (CN_KEYDOWN), which offers it to its form's shortcuts (the
// form's action lists, then its menu), then to the application window
// (CM_APPKEYDOWN: hooks, then the main form), then as a dialog key to the
// form; only a key nobody took is translated and dispatched. Posted keys
// take this path; sent ones bypass it. At idle it runs the update handlers
// of the actions of every visible, enabled form.
#pragma once

#include "ControlMessages.h"
#include "Object.h"
#include "ScopeExit.h"
#include "ShortCut.h"

#include <exception>
#include <vector>
#include <windows.h>

class TBasicAction;
class TControl;
class TCustomForm;
class THintWindow;

// A hook on the application window's messages: Handled stops the message.
using TWindowHook = TEvent<TMessage&, bool&>;

class TApplication : public TComponent
{
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // Shows the main form (unless ShowMainForm is off) and runs the message
    // loop until Terminate or WM_QUIT.
    void Run();
    // Handles every message already queued, then returns.
    void ProcessMessages();
    // Handles every message already queued, then runs the idle step as the
    // loop does once the queue is empty, and returns without waiting: a loop
    // of its own (a test's pump) keeps the windows as a user sees them.
    void ProcessMessagesAndIdle();
    // Handles one message; when none is queued, idles and waits for one.
    void HandleMessage();
    // Ends the message loop (posts WM_QUIT).
    void Terminate();
    bool Terminated() const { return FTerminated; }

    const AnsiString& Title() const { return FTitle; }
    void SetTitle(const AnsiString& value);
    // The full path of the running program.
    AnsiString ExeName() const;
    // The hidden application window (owner of the forms' windows). It is a
    // Unicode window.
    HWND Handle() const { return FHandle; }
    // One of the application's windows is active.
    bool Active() const { return FActive; }

    // --- Forms
    TCustomForm* MainForm() const { return FMainForm; }
    // Makes a form owned by the application; the first one made becomes
    // the main form.
    // The first form made is the main form from the start of its construction,
    // so a close that reaches it while it is being made ends the program.
    template <class T> void CreateForm(T*& reference)
    {
        FMainFormPending = !FMainForm;
        TScopeExit made([this] { FMainFormPending = false; });
        reference = new T(this);
    }
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool value) { FShowMainForm = value; }
    // Frees a form after the messages queued now (TCustomForm::Release).
    void ReleaseForm(TCustomForm* form);
    // A window whose dialog keys IsDialogMessage handles in the loop.
    HWND DialogHandle() const { return FDialogHandle; }
    void SetDialogHandle(HWND value) { FDialogHandle = value; }

    // --- Hints
    // The long hint of the control under the mouse; OnHint (or, without
    // one, a THintAction for status bars) hears of every change.
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    int HintPause() const { return FHintPause; }
    void SetHintPause(int value) { FHintPause = value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int value) { FHintHidePause = value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor value) { FHintColor = value; }
    // Hints show "hint (shortcut)" for controls with a shortcut action.
    bool HintShortCuts() const { return FHintShortCuts; }
    void SetHintShortCuts(bool value) { FHintShortCuts = value; }
    void CancelHint();
    // Shows the hint of the control under the mouse now.
    void ActivateHint(const TPoint& cursorPos);
    THintWindow* HintWindow() const { return FHintWindow; }

    // --- Hooks and routing
    void HookMainWindow(const TWindowHook& hook);
    void UnhookMainWindow(const TWindowHook& hook);
    // The application window's message handling (hooks first).
    virtual void WndProc(TMessage& message);
    // OnShortCut, then the main form's shortcuts (while it is enabled).
    bool IsShortCut(WORD key, TShiftState shift);
    // Sends CM_APPKEYDOWN for a key the form of the focused control
    // declined; true when taken.
    bool SendAppKeyDown(WPARAM key, LPARAM keyData, TCustomForm* declinedBy = nullptr);
    bool SendAppSysCommand(WPARAM command, LPARAM data);
    // OnActionExecute/OnActionUpdate; true when handled.
    bool ExecuteAction(TBasicAction* action);
    bool UpdateAction(TBasicAction* action);
    // CM_ACTIONEXECUTE to the application window and the forms, for an
    // action that nobody else handled.
    bool DispatchActionExecute(TBasicAction* action);

    // A help request (HELP_CONTEXT, HELP_CONTEXTPOPUP...) goes to OnHelp;
    // the program has no help file of its own, so without a handler nothing
    // shows. True when a handler took it.
    bool HelpCommand(UINT command, ULONG_PTR data);
    bool HelpContext(int context) { return HelpCommand(HELP_CONTEXT, context); }

    // Reports an exception: OnException when assigned, else a message box
    // with its text. EAbort is silent.
    void HandleException(std::exception_ptr error);
    void ShowException(const AnsiString& message);
    // A message box through the prompt seam, captioned with the title when
    // caption is empty.
    int MessageBox(const AnsiString& text, const AnsiString& caption, UINT flags);

    // Kept up to date by the controls.
    void MouseControlChanged(TControl* control);
    void ControlHintChanged(TControl* control);
    void ControlDestroyed(TControl* control);
    void FormConstructing(TCustomForm* form);
    void FormDestroying(TCustomForm* form);

    TEvent<TObject*, std::exception_ptr> OnException;
    // Sees every message the loop takes before it is dispatched; setting
    // Handled stops it.
    TEvent<MSG&, bool&> OnMessage;
    // Runs when the queue is empty; Done false asks to be called again
    // before the loop waits.
    TEvent<TObject*, bool&> OnIdle;
    TNotifyEvent OnHint;
    TEvent<WORD, TShiftState, bool&> OnShortCut;
    TEvent<TBasicAction*, bool&> OnActionExecute;
    TEvent<TBasicAction*, bool&> OnActionUpdate;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    // Command, Data, Handled.
    TEvent<UINT, ULONG_PTR, bool&> OnHelp;

protected:
    // Takes one message off the queue and handles it; false when none was
    // queued.
    virtual bool ProcessMessage(MSG& msg);
    // Called for each message before translation and dispatch; true when it
    // was handled: keys routed to shortcuts and dialog keys, dialog messages.
    virtual bool PreProcessMessage(MSG& msg);
    virtual void Idle(const MSG& msg);
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool IsKeyMsg(MSG& msg);
    void CancelHintOnInput(const MSG& msg);
    void UpdateFormActions();
    // Hides the shown hint and waits again for the control under the mouse.
    void RestartHint();
    void StartHintTimer(int milliseconds, UINT_PTR id);
    void StopHintTimer(UINT_PTR id);
    void ReleaseQueuedForm(LPARAM form);
    bool DispatchToForms(TMessage& message);

    HWND FHandle = nullptr;
    AnsiString FTitle;
    bool FTerminated = false;
    bool FHandlingException = false;
    bool FActive = false;
    TCustomForm* FMainForm = nullptr; // owned through the components when CreateForm made it
    bool FMainFormPending = false;    // CreateForm is making the first form
    bool FShowMainForm = true;
    HWND FDialogHandle = nullptr; // not owned
    std::vector<TWindowHook> FWindowHooks;
    TCustomForm* FShortCutDeclinedBy = nullptr; // not owned; during SendAppKeyDown
    AnsiString FHint;
    bool FShowHint = true;
    int FHintPause = 500;      // ms before a hint shows
    int FHintHidePause = 2500; // ms a hint stays
    TColor FHintColor = clInfoBk;
    bool FHintShortCuts = true;
    TControl* FHintControl = nullptr;                // not owned: the control under the mouse
    THintWindow* FHintWindow = nullptr;              // owned
    THintWindowFactory FHintWindowFactory = nullptr; // what made FHintWindow
};

// The program's application object, made by the program's entry (or the test
// runner) before any window.
extern TApplication* Application;

// The program's icon ("MAINICON" among its resources; none where it has
// none), for the classes of its top-level windows. Looked up once: each
// lookup waits on the window system.
HICON ProgramIcon();

// For callbacks of our own: hands the exception to the application object (on
// the main thread, through Synchronize when raised elsewhere).
void HandleCallbackException(std::exception_ptr error);

// Whether the program runs under Wine, whose window system and sound devices
// differ from the system's in ways the program works around.
bool RunningUnderWine();
