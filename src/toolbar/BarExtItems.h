// Edit items: a text box shown inside a toolbar or a menu.
//
//   TBarEditItem            the item: its text, caption and box width, and
//                           the events that accept a new text
//   TBarEditAction          an action that carries the same properties, and
//   TBarEditItemActionLink  the link that makes items follow it
//   TBarEditItemViewer      draws the caption and the box; executing it puts
//                           a real edit control over the box and runs a
//                           small message loop until editing ends
#pragma once

#include "BarItem.h"

#include "classlib/StandardControls.h"

class TBarEditItem;
class TBarEditItemViewer;

enum TBarEditItemOption : BYTE
{
    tboUseEditWhenVertical = 0x01, // a vertical view shows the box too
};
using TBarEditItemOptions = BYTE;

// Why an edit item's text changed.
enum class TBarTextChangeReason : BYTE
{
    Property = 0,    // the Text property
    ActionLink = 1,  // the action it follows
    EditControl = 2, // typed into the editor
};

// How editing ended.
enum class TBarEditState : BYTE
{
    Cancelled = 0, // Escape
    Editing = 1,
    Tab = 2,
    Ended = 4, // focus lost, Alt, a key, a click elsewhere
    Enter = 6,
};

constexpr int kBarDefaultEditWidth = 64;

// Sender, NewText, Accept.
using TBarAcceptTextEvent = TEvent<TObject*, AnsiString&, bool&>;
// Sender, Viewer, EditControl.
using TBarBeginEditEvent = TEvent<TBarEditItem*, TBarEditItemViewer*, TEdit*>;

class TBarEditItem : public TBarCustomItem
{
public:
    explicit TBarEditItem(TComponent* AOwner);

    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    // Drawn left of the box outside toolbar style.
    const AnsiString& EditCaption() const { return FEditCaption; }
    void SetEditCaption(const AnsiString& value);
    TBarEditItemOptions EditOptions() const { return FEditOptions; }
    void SetEditOptions(TBarEditItemOptions value);
    // The box's width, pixels.
    int EditWidth() const { return FEditWidth; }
    void SetEditWidth(int value);
    // 0: no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    const AnsiString& Text() const { return FText; }
    void SetText(const AnsiString& value)
    {
        AssignTextWithReason(value, TBarTextChangeReason::Property);
    }
    // Filters the text, stores it when it differs and tells of the change.
    void AssignTextWithReason(AnsiString NewText, TBarTextChangeReason Reason);

    TBarAcceptTextEvent OnAcceptText;
    TBarBeginEditEvent OnBeginEdit;

    // OnAcceptText; false keeps the old text.
    virtual bool AcceptEnteredText(AnsiString& NewText);
    // OnBeginEdit, once the editor is made and before it shows.
    virtual void PrepareEditor(TBarEditItemViewer* Viewer);
    // Applies CharCase.
    virtual void FilterNewText(const AnsiString& OldText, AnsiString& NewText,
                               TBarTextChangeReason Reason);
    virtual void TextWasChanged(TBarTextChangeReason Reason) {}

    TBarItemViewerClass ViewerClassForItem(TBarView* View) override;
    bool ViewerNeedsRebuild(TBarItemViewer* Viewer) override;

protected:
    friend class TBarEditItemActionLink;
    TBarCustomItemActionLink* CreateActionLink() override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

private:
    TEditCharCase FCharCase = TEditCharCase::ecNormal;
    AnsiString FEditCaption;
    TBarEditItemOptions FEditOptions = 0;
    int FEditWidth = kBarDefaultEditWidth;
    int FMaxLength = 0;
    AnsiString FText;
};

class TBarEditAction : public TAction
{
public:
    explicit TBarEditAction(TComponent* AOwner);

    TBarEditItemOptions EditOptions() const { return FEditOptions; }
    void SetEditOptions(TBarEditItemOptions value);
    const AnsiString& EditCaption() const { return FEditCaption; }
    void SetEditCaption(const AnsiString& value);
    int EditWidth() const { return FEditWidth; }
    void SetEditWidth(int value);
    const TBarAcceptTextEvent& OnAcceptText() const { return FOnAcceptText; }
    void SetOnAcceptText(const TBarAcceptTextEvent& value);
    const AnsiString& Text() const { return FText; }
    void SetText(const AnsiString& value);

private:
    // Hands a new value to every edit-item link, before it is stored.
    template <class Apply> void TellLinks(Apply apply);

    TBarEditItemOptions FEditOptions = 0;
    AnsiString FEditCaption;
    int FEditWidth = kBarDefaultEditWidth;
    TBarAcceptTextEvent FOnAcceptText;
    AnsiString FText;
};

class TBarEditItemActionLink : public TBarCustomItemActionLink
{
public:
    explicit TBarEditItemActionLink(TBarEditItem* client);

    // Whether the item still shows the action's value.
    virtual bool EditCaptionFollowsAction();
    virtual bool EditOptionsFollowAction();
    virtual bool EditWidthFollowsAction();
    virtual bool AcceptHandlerFollowsAction();
    virtual bool TextFollowsAction();
    // Each applies a new value of the action when the item follows it.
    virtual void ApplyEditCaption(const AnsiString& value);
    virtual void ApplyEditOptions(TBarEditItemOptions value);
    virtual void ApplyEditWidth(int value);
    virtual void ApplyAcceptHandler(const TBarAcceptTextEvent& value);
    virtual void SetText(const AnsiString& value);

private:
    TBarEditItem* EditItem() const;
    TBarEditAction* EditAction() const;
};

// Makes the editor of a viewer.
using TBarEditorClass = TEdit* (*)();

class TBarEditItemViewer : public TBarItemViewer
{
public:
    using TBarItemViewer::TBarItemViewer;
    ~TBarEditItemViewer() override;

    TBarEditItem* EditItem() const;
    // The editor while editing runs, else null.
    TEdit* EditControl() const { return FEdit; }
    TBarEditState EditState() const { return FState; }

    void CalcSize(TCanvas* Canvas, int& Width, int& Height) override;
    void Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
    void GetCursor(const TPoint& Pt, HCURSOR& Cursor) override;
    void MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu) override;
    void MouseUp(int X, int Y, bool MouseWasDownOnMenu) override;
    // Runs the editor; true when editing ended with Tab or Enter.
    bool DoExecute() override;
    bool SharesColumnWidth() override { return false; }
    int AccessibleRole() override;
    bool AccessibleValue(AnsiString& Value) override;

    virtual TBarEditorClass EditorClass();
    // The box, in view coordinates.
    virtual void EditorBounds(TRect& R);

    // Puts an editor over the box and edits until something ends it.
    // False when the viewer went meanwhile (its view was rebuilt or freed):
    // the caller must not touch it then.
    bool RunInlineEditor();

private:
    bool OutsideToolbarStyle();
    int CaptionCellWidth(TCanvas* Canvas);
    void EditLoop(const bool& alive);
    bool LoopMayGoOn();
    void EditWndProc(TMessage& message);
    void AcceptEditorText();

    TEdit* FEdit = nullptr; // owned while editing
    TWndMethod FEditProc;   // the editor's own procedure
    TBarEditState FState = TBarEditState::Cancelled;
    bool* FAlive = nullptr; // set false when the viewer goes while editing
};
