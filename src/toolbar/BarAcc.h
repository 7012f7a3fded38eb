// What screen readers see of menus and toolbars. The framework draws its
// items itself, so every view and every viewer offers an accessibility
// object of its own, made on first request, and the views announce the
// focus, the start and end of a menu and of each popup as win events.
//
//   TBarBaseAccObject       the automation part every object answers
//                           E_NOTIMPL to
//   TBarCustomAccObject     a live object: in the process-wide list (under
//                           a lock) until it goes, so that the framework's
//                           end can disconnect every client
//   TBarViewAccObject       a view: a menu, a menu bar or a toolbar
//   TBarItemViewerAccObject one item in a view
//
// The accessibility library is bound at run time; without it no object is
// made, WM_GETOBJECT gets the default answer and the rest works unchanged.
// An object outlives its view or viewer while a client holds it: it then
// answers E_FAIL. Child ids other than CHILDID_SELF are refused
// (E_INVALIDARG): every item is an object of its own.
#pragma once

#include "BarItem.h"

#include "classlib/ComObject.h"

#include <oleacc.h>

// --- The library and the events ------------------------------------------------

// Binds "oleacc.dll" (LresultFromObject, AccessibleObjectFromWindow) on
// first need; false when the library or a function is missing.
bool BarAccessibilityAvailable();
// NotifyWinEvent, when the system has it.
void BarNotifyWinEvent(DWORD event, HWND window, LONG objectId, LONG childId);
// The window's standard accessible object (the system's, not ours).
HRESULT BarStandardAccessibleObject(HWND window, LONG objectId, IDispatch** result);
// Answers WM_GETOBJECT for the client object with the view's object; false
// when the message must get the default handling.
bool AnswerBarAccessibleObject(TBarView* view, TMessage& message);

// The accessibility part of the framework's end: every client cut off (COM
// is started at the first client's request, and ended by the program).
void StopBarAccessibility();
// How many view objects live now (clients may hold them).
int LiveBarViewAccObjects();

// --- The objects ------------------------------------------------------------------------

class TBarBaseAccObject : public TComObject<IAccessible>
{
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID riid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

protected:
    bool Supports(REFIID riid) override;
};

class TBarCustomAccObject : public TBarBaseAccObject
{
public:
    TBarCustomAccObject();
    ~TBarCustomAccObject() override;

    // The view or viewer goes: the object answers E_FAIL from now on.
    virtual void Detach() = 0;
    // Its view or viewer is still there.
    virtual bool Alive() const = 0;

    // What neither kind describes: no description, help, focus or
    // selection, and names and values are not set from outside.
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;
    // Cuts every client of every live object off (the framework's end).
    static void DisconnectAll();

private:
    TBarCustomAccObject* FNext = nullptr;     // not owned; the live list
    TBarCustomAccObject* FPrevious = nullptr; // not owned
};

class TBarViewAccObject : public TBarCustomAccObject
{
public:
    explicit TBarViewAccObject(TBarView* view);
    ~TBarViewAccObject() override;
    void Detach() override { FView = nullptr; }
    bool Alive() const override { return FView != nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;

private:
    TBarView* FView; // not owned; null once the view is gone
};

class TBarItemViewerAccObject : public TBarCustomAccObject
{
public:
    explicit TBarItemViewerAccObject(TBarItemViewer* viewer) : FViewer(viewer) {}
    void Detach() override { FViewer = nullptr; }
    bool Alive() const override { return FViewer != nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;

private:
    TBarItemViewer* FViewer; // not owned; null once the viewer is gone
};

// Drops an owner's reference to its object, telling it first that the
// owner goes.
void ReleaseBarAccObject(TBarCustomAccObject* object);
