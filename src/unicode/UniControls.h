// Unicode windows for the class library's controls, and their wide text.
//
//   MakeUnicodeWindow       creates a control's window from a Unicode copy
//                           of its window class ("<class>.UnicodeClass"),
//                           so that wide captions and typed characters
//                           beyond the ANSI code page survive
//   AddUnicodeWindowClass   registers that copy
//   UnicodeClassFirstProc   the copy's procedure for a window's first
//                           message: ties the window to its control as the
//                           library's own procedure does
//   SubClassUnicodeControl  puts the control's trap between its window and
//                           the control
//   TWinControlTrap         one per subclassed control: keeps the window
//                           Unicode (only W calls reach it), converts ANSI
//                           text messages, hands typed wide characters to
//                           the ANSI key-press handling and shows wide hints
//   ControlWideText ...     a control's wide text and hint, kept beside the
//                           ANSI ones when the control has no Unicode window
//
// A wide control creates its window by overriding CreateWindowHandle:
//
//   void CreateWindowHandle(const TCreateParams& params) override
//   {
//       MakeUnicodeWindow(this, params, false);
//   }
#pragma once

#include "classlib/WinControl.h"

#include <windows.h>

void MakeUnicodeWindow(TWinControl* Control, const TCreateParams& Params, bool UseLibraryInitProc);
// Registers the Unicode copy of Params' window class (hInstance the
// program's, the procedure the library's InitWndProc or
// UnicodeClassFirstProc) under WideClassName, once per name and procedure.
// Raises EOSError when the system refuses.
void AddUnicodeWindowClass(const TCreateParams& Params, WideString& WideClassName,
                           bool UseLibraryInitProc);
LRESULT CALLBACK UnicodeClassFirstProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
// Raises EUniInternalError when the control's window is not Unicode. Caption
// is set as the window's text afterwards (the system made it from ANSI).
void SubClassUnicodeControl(TWinControl* Control, const WideString& Caption);

class TWinControlTrap : public TComponent
{
public:
    explicit TWinControlTrap(TWinControl* control);
    ~TWinControlTrap() override;

    TWinControl* Control() const { return FControl; }
    HWND Window() const { return FWindow; }
    // Between a window's destruction and its control's next window.
    bool Pooled() const { return !FWindow; }

    // The trap of a live control (subclassed or pooled), or nullptr.
    static TWinControlTrap* Find(const TWinControl* control);
    void Subclass();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    struct TLastMessage
    {
        UINT Msg = 0;
        WPARAM WParam = 0;
        LPARAM LParam = 0;
    };

    static LRESULT CALLBACK TrapWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK TrapDefaultProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT WindowProcedure(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultProcedure(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    void WindowProcMethod(TMessage& message);
    bool CameThroughWindowProc(const TMessage& message) const;
    void PassTypedChar(TMessage& message);
    WPARAM TypedCharForDefault(WPARAM wp) const;
    void Unsubclass();
    void FreeWhenIdle();

    TWinControl* FControl;             // not owned; free-notified
    HWND FWindow = nullptr;            // the subclassed window; nullptr while pooled
    WNDPROC FPrevWndProc = nullptr;    // the window's procedure before the trap's
    WNDPROC FPrevDefWndProc = nullptr; // the control's default procedure before the trap's
    TWndMethod FPrevWindowProc;        // the control's WindowProc before the trap's
    int FBusy = 0;                     // calls of the trap's window procedure under way
    TLastMessage FLastMessage;         // what the trap's window procedure is handling
    bool FFreeWhenIdle = false;
    bool FTyping = false;            // a WM_CHAR is in the key-press handling
    wchar_t FTypedChar = 0;          // its wide character
    unsigned char FTypedAnsiKey = 0; // what the key-press handling was given
};

// The text of a control: its Unicode window's, else its wide text kept
// beside its ANSI caption, else the ANSI caption converted.
WideString ControlWideText(TControl* Control);
// Sets it: a Unicode window gets it (CM_TEXTCHANGED when it changed); a
// control without one keeps it beside the ANSI caption, which becomes its
// conversion.
void SetControlWideText(TControl* Control, const WideString& Text);
WideString ControlWideHint(TControl* Control);
void SetControlWideHint(TControl* Control, const WideString& Hint);
// The control streams its own caption (hint): no action shows it.
bool ControlWideCaptionSaved(TControl* Control);
bool ControlWideHintSaved(TControl* Control);
