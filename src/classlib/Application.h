// The application object: the main thread's message loop, the title, the
// program's path, and the one place where uncaught exceptions end up.
//
// Every callback boundary (window procedures, timer and hook callbacks,
// thread procedures, device callbacks, COM methods) catches and hands the
// exception here: 32-bit mingw code cannot unwind through system frames.
#pragma once

#include "Object.h"

#include <exception>
#include <windows.h>

class TApplication : public TComponent
{
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // Runs the message loop until Terminate or WM_QUIT.
    void Run();
    // Handles every message already queued, then returns.
    void ProcessMessages();
    // Handles one message; when none is queued, idles and waits for one.
    void HandleMessage();
    // Ends the message loop (posts WM_QUIT).
    void Terminate();
    bool Terminated() const { return FTerminated; }

    const AnsiString& Title() const { return FTitle; }
    void SetTitle(const AnsiString& value);
    // The full path of the running program.
    AnsiString ExeName() const;
    // The hidden application window (owner of the forms' taskbar button).
    HWND Handle() const { return FHandle; }

    // Reports an exception: OnException when assigned, else a message box
    // with its text. EAbort is silent.
    void HandleException(std::exception_ptr error);
    void ShowException(const AnsiString& message);
    // A message box through the prompt seam, captioned with the title when
    // caption is empty.
    int MessageBox(const AnsiString& text, const AnsiString& caption, UINT flags);

    TEvent<TObject*, std::exception_ptr> OnException;
    // Sees every message the loop takes before it is dispatched; setting
    // Handled stops it.
    TEvent<MSG&, bool&> OnMessage;
    // Runs when the queue is empty; Done false asks to be called again
    // before the loop waits.
    TEvent<TObject*, bool&> OnIdle;

protected:
    // Takes one message off the queue and handles it; false when none was
    // queued.
    virtual bool ProcessMessage(MSG& msg);
    // Called for each message before translation and dispatch; true when it
    // was handled (later layers route keys and dialog messages here).
    virtual bool PreProcessMessage(MSG& msg);
    virtual void Idle(const MSG& msg);

private:
    HWND FHandle = nullptr;
    AnsiString FTitle;
    bool FTerminated = false;
    bool FHandlingException = false;
};

// The program's application object, made by the program's entry (or the test
// runner) before any window.
extern TApplication* Application;

// For callbacks of our own: hands the exception to the application object (on
// the main thread, through Synchronize when raised elsewhere).
void HandleCallbackException(std::exception_ptr error);
