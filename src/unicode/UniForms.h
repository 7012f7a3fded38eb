// The application's wide side, Unicode forms and the wide hint window.
//
//   TUniApplication      the one companion of the application object: wide
//                        title and hint beside the ANSI ones, and the
//                        handling of wide characters that the ANSI message
//                        loop would garble
//   UniHookMessages      installs the thread's message hook that hands
//                        those characters to TUniApplication first
//   TUniForm             a form whose window is Unicode, with a wide caption
//                        and hint that it streams
//   TUniCustomHintWindow the hint window of wide controls: a Unicode window
//                        that shows the wide hint
//   WideHintText         which wide text a hint window shows for its ANSI text
#pragma once

#include "UniControls.h"

#include "classlib/Form.h"
#include "classlib/HintWindow.h"
#include "classlib/PropertyInfo.h"

#include <windows.h>

class TUniApplication : public TComponent
{
public:
    // Hooks the application window's messages (the application object must
    // exist).
    explicit TUniApplication(TComponent* AOwner);
    ~TUniApplication() override;

    WideString Title();
    void SetTitle(const WideString& value);
    WideString Hint();
    // Keeps value beside the application's ANSI hint, which becomes its
    // conversion (and reaches the status bars as a wide hint).
    void SetHint(const WideString& value);
    // When the system settings last changed (tick count; 0: not yet).
    DWORD SettingChangeTick() const { return FSettingChangeTick; }

    // Takes a WM_CHAR of a character from 128 up for a Unicode window, while
    // the application window is Unicode too: OnMessage, the hint cancelled,
    // the dialog window's keys, else dispatched as wide. True when taken.
    bool ProcessMessage(MSG& msg);

private:
    void ApplicationWindowHook(TMessage& message, bool& handled);
    bool AnswerHintAction(TMessage& message);

    WideString FTitle; // beside Application->Title()
    WideString FHint;  // beside Application->Hint()
    DWORD FSettingChangeTick = 0;
};

// The one instance, made and freed by the toolkit's start-up and shutdown.
extern TUniApplication* UniApplication;

// Installs the get-message hook for the calling thread. Raises EOSError.
void UniHookMessages();
// Removes it (a failure at shutdown is ignored).
void UniUnhookMessages();
LRESULT CALLBACK UniMessageFilter(int code, WPARAM wp, LPARAM lp);

class TUniForm : public TForm
{
    ZANDREL_PUBLISHED(TUniForm)
public:
    using TForm::TForm;

    WideString GetCaption() { return ControlWideText(this); }
    void SetCaption(const WideString& value) { SetControlWideText(this, value); }
    using TForm::SetCaption;
    WideString GetHint() { return ControlWideHint(this); }
    void SetHint(const WideString& value) { SetControlWideHint(this, value); }
    using TForm::SetHint;

    void DefineProperties(TFiler& Filer) override;

protected:
    void CreateWindowHandle(const TCreateParams& params) override;
};

class TUniCustomHintWindow : public THintWindow
{
public:
    using THintWindow::THintWindow;

    void ActivateHint(const TRect& rect, const AnsiString& hint) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandle(const TCreateParams& params) override;
    void DrawHintText(HDC dc, const AnsiString& hint, RECT& rect, UINT format) override;
};

THintWindow* CreateUniHintWindow(TControl* owner);

// The wide text for a hint window's ANSI text caption, about the control
// whose hint has the wide form wideHint (ANSI form ansiHint): the wide short
// hint when it converts to caption; else, when caption is the ANSI
// "hint (shortcut)" form, that form in wide text; else caption converted.
WideString WideHintText(const AnsiString& caption, const WideString& wideHint,
                        const AnsiString& ansiHint, bool hintShortCuts, TShortCut shortCut);
// The part of a wide hint before "|" (all of it without one).
WideString WideShortHint(const WideString& hint);
