// The screen: the cursor table, the screen cursor, the forms, and where the
// focus is; a scope that shows a cursor for a while.
//
// Cursors are numbered (TCursor): the library fills the negative numbers it
// names (crArrow -2, crIBeam -4, crHourGlass -11...); the program registers
// its own cursors under numbers of its choice, replacing a library entry
// when it reuses its number. A Cursor other than crDefault wins in every
// window of the library until it is set back to crDefault.
#pragma once

#include "Control.h"

#include <map>
#include <vector>

class TCustomForm;

class TScreen : public TComponent
{
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    // The cursor of a number: a registered one, else the library's, else
    // the arrow.
    HCURSOR Cursors(TCursor index) const;
    // Registers a cursor (not owned: resource cursors are shared).
    void SetCursors(TCursor index, HCURSOR handle);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);

    // The forms, the active one first.
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int index) const { return FForms.at(index); }
    bool HasForm(const TCustomForm* form) const;
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }

    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;

    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

    // Kept up to date by the forms.
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void FormActivated(TCustomForm* form);
    void FocusChanged(TCustomForm* form, TWinControl* control);
    void ControlRemoving(TWinControl* control);

private:
    std::map<TCursor, HCURSOR> FCursors; // registered by the program (not owned)
    TCursor FCursor = crDefault;
    std::vector<TCustomForm*> FForms;      // not owned; the active one first
    TCustomForm* FActiveForm = nullptr;    // not owned
    TWinControl* FActiveControl = nullptr; // not owned
};

// Made by the application object, freed with it.
extern TScreen* Screen;

// Shows a screen cursor (the hourglass of a long task) for as long as it
// lives; the cursor before it comes back however the task ends.
class TScreenCursorScope
{
public:
    explicit TScreenCursorScope(TCursor cursor) : FSaved(Screen->Cursor())
    {
        Screen->SetCursor(cursor);
    }
    ~TScreenCursorScope() { Screen->SetCursor(FSaved); }
    TScreenCursorScope(const TScreenCursorScope&) = delete;
    TScreenCursorScope& operator=(const TScreenCursorScope&) = delete;

private:
    TCursor FSaved;
};
