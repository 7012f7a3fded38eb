#include "BarAcc.h"

#include "BarCommon.h"
#include "classlib/OleStart.h"
#include "classlib/WideText.h"

#include <atomic>
#include <mutex>

namespace {

using TLresultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using TAccessibleObjectFromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
using TNotifyWinEvent = void(WINAPI*)(DWORD, HWND, LONG, LONG);

struct TAccLibrary
{
    TLresultFromObject LresultFromObject = nullptr;
    TAccessibleObjectFromWindow AccessibleObjectFromWindow = nullptr;
};

std::once_flag gAccLibraryOnce;
TAccLibrary gAccLibrary; // written once, under gAccLibraryOnce
std::once_flag gWinEventOnce;
TNotifyWinEvent gNotifyWinEvent = nullptr; // written once, under gWinEventOnce

std::atomic<int> gLiveViewObjects{0};

// The live objects, for the framework's end. Recursive: disconnecting a
// client may free an object, which unlinks itself.
std::recursive_mutex gLiveLock;
TBarCustomAccObject* gFirstLive = nullptr; // not owned

const TAccLibrary& AccLibrary()
{
    std::call_once(gAccLibraryOnce, [] {
        HMODULE oleacc = LoadLibraryA("oleacc.dll");
        if (!oleacc)
            return;
        auto lresult = reinterpret_cast<TLresultFromObject>(
            reinterpret_cast<void*>(GetProcAddress(oleacc, "LresultFromObject")));
        auto fromWindow = reinterpret_cast<TAccessibleObjectFromWindow>(
            reinterpret_cast<void*>(GetProcAddress(oleacc, "AccessibleObjectFromWindow")));
        if (lresult && fromWindow) {
            gAccLibrary.LresultFromObject = lresult;
            gAccLibrary.AccessibleObjectFromWindow = fromWindow;
        }
    });
    return gAccLibrary;
}

// Runs a method's body; what it raises becomes E_UNEXPECTED (no exception
// may reach the caller's COM frames).
template <class F> HRESULT Guarded(F&& body)
{
    try {
        return body();
    } catch (...) {
        return E_UNEXPECTED;
    }
}

bool IsSelf(const VARIANT& child)
{
    return (child.vt == VT_I4 && child.lVal == CHILDID_SELF) ||
           (child.vt == VT_INT && child.intVal == CHILDID_SELF);
}

// The 1-based index a child variant holds, 0 when it holds none.
long ChildIndex(const VARIANT& child)
{
    if (child.vt == VT_I4)
        return child.lVal;
    if (child.vt == VT_INT)
        return child.intVal;
    return 0;
}

BSTR AnsiToBstr(const AnsiString& text)
{
    const WideString wide = AnsiToWide(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

// A string answer: S_FALSE with no string when empty.
HRESULT AnswerText(BSTR* out, const AnsiString& text)
{
    if (text.empty())
        return S_FALSE;
    *out = AnsiToBstr(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT AnswerEmpty(VARIANT* out)
{
    out->vt = VT_EMPTY;
    return S_FALSE;
}

HRESULT AnswerObject(VARIANT* out, IAccessible* object)
{
    if (!object)
        return AnswerEmpty(out);
    object->AddRef();
    out->vt = VT_DISPATCH;
    out->pdispVal = object;
    return S_OK;
}

HRESULT AnswerDispatch(IDispatch** out, IAccessible* object)
{
    if (!object)
        return S_FALSE;
    object->AddRef();
    *out = object;
    return S_OK;
}

HRESULT AnswerNumber(VARIANT* out, long value)
{
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

void ClearLocation(long* left, long* top, long* width, long* height)
{
    for (long* part : {left, top, width, height})
        if (part)
            *part = 0;
}

HRESULT AnswerRect(long* left, long* top, long* width, long* height, const TRect& r)
{
    if (!left || !top || !width || !height)
        return E_POINTER;
    *left = r.left;
    *top = r.top;
    *width = r.Width();
    *height = r.Height();
    return S_OK;
}

void ClearAnswer(BSTR* out)
{
    *out = nullptr;
}

void ClearAnswer(VARIANT* out)
{
    VariantInit(out);
}

void ClearAnswer(IDispatch** out)
{
    *out = nullptr;
}

void ClearAnswer(long* out)
{
    *out = 0;
}

// The frame of every method: the answer is cleared first, a gone view or
// viewer answers E_FAIL, and what the body raises becomes E_UNEXPECTED.
template <class Out, class F>
HRESULT AboutObject(const TBarCustomAccObject* object, Out* out, F&& body)
{
    return Guarded([&]() -> HRESULT {
        if (!out)
            return E_POINTER;
        ClearAnswer(out);
        if (!object->Alive())
            return E_FAIL;
        return body();
    });
}

// The same for a method that names a child: only the object itself.
template <class Out, class F>
HRESULT AboutSelf(const TBarCustomAccObject* object, Out* out, const VARIANT& child, F&& body)
{
    return AboutObject(object, out,
                       [&]() -> HRESULT { return IsSelf(child) ? body() : E_INVALIDARG; });
}

// And for one that answers in arguments of its own.
template <class F>
HRESULT AboutSelf(const TBarCustomAccObject* object, const VARIANT& child, F&& body)
{
    return Guarded([&]() -> HRESULT {
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!object->Alive())
            return E_FAIL;
        return body();
    });
}

// The view of the popup the viewer opened, if one is open.
TBarView* OpenChildOf(TBarItemViewer* viewer)
{
    TBarView* view = viewer->View();
    return view->OpenViewer() == viewer ? view->OpenChildView() : nullptr;
}

AnsiString AltKeyName()
{
    char name[64] = {};
    LONG scanCode = static_cast<LONG>(MapVirtualKeyA(VK_MENU, 0)) << 16;
    int length = GetKeyNameTextA(scanCode, name, sizeof(name));
    return length > 0 ? AnsiString(name, static_cast<size_t>(length)) : AnsiString("Alt");
}

TRect ScreenRectOf(TWinControl* window, const TRect& client)
{
    TPoint origin = window->ClientToScreen(TPoint(0, 0));
    TRect r = client;
    OffsetRect(&r, origin.x, origin.y);
    return r;
}

bool SeenByReaders(const TBarItemViewer* viewer)
{
    return viewer->Shown() || viewer->Clipped() || viewer->OffEdge();
}

bool RunsLoop(TBarView* view)
{
    return view->RootView()->ModalHandler() != nullptr;
}

bool EnabledWithParents(HWND window)
{
    HWND desktop = GetDesktopWindow();
    for (HWND w = window; w && w != desktop; w = GetAncestor(w, GA_PARENT))
        if (!IsWindowEnabled(w))
            return false;
    return true;
}

IAccessible* ViewObject(TBarView* view)
{
    return view ? view->AccObject() : nullptr;
}

IAccessible* ViewerObject(TBarItemViewer* viewer)
{
    return viewer ? viewer->AccObject() : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// The library and the events

bool BarAccessibilityAvailable()
{
    return AccLibrary().LresultFromObject != nullptr;
}

void BarNotifyWinEvent(DWORD event, HWND window, LONG objectId, LONG childId)
{
    std::call_once(gWinEventOnce, [] {
        gNotifyWinEvent = reinterpret_cast<TNotifyWinEvent>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("user32.dll"), "NotifyWinEvent")));
    });
    if (gNotifyWinEvent && window)
        gNotifyWinEvent(event, window, objectId, childId);
}

HRESULT BarStandardAccessibleObject(HWND window, LONG objectId, IDispatch** result)
{
    const TAccLibrary& library = AccLibrary();
    if (!library.AccessibleObjectFromWindow)
        return E_FAIL;
    return library.AccessibleObjectFromWindow(window, static_cast<DWORD>(objectId), IID_IDispatch,
                                              reinterpret_cast<void**>(result));
}

bool AnswerBarAccessibleObject(TBarView* view, TMessage& message)
{
    if (static_cast<LONG>(message.LParam) != OBJID_CLIENT || !BarAccessibilityAvailable())
        return false;
    TBarViewAccObject* object = view->AccObject();
    if (!object)
        return false;
    // The object goes to the client marshalled, through COM.
    StartOle();
    message.Result = AccLibrary().LresultFromObject(__uuidof(IAccessible), message.WParam,
                                                    static_cast<IAccessible*>(object));
    return true;
}

void StopBarAccessibility()
{
    TBarCustomAccObject::DisconnectAll();
}

int LiveBarViewAccObjects()
{
    return gLiveViewObjects.load();
}

void ReleaseBarAccObject(TBarCustomAccObject* object)
{
    if (!object)
        return;
    object->Detach();
    object->Release();
}

// ---------------------------------------------------------------------------
// TBarBaseAccObject

HRESULT TBarBaseAccObject::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}

HRESULT TBarBaseAccObject::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

HRESULT TBarBaseAccObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT TBarBaseAccObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                  UINT*)
{
    return E_NOTIMPL;
}

bool TBarBaseAccObject::Supports(REFIID riid)
{
    return IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, __uuidof(IAccessible));
}

// ---------------------------------------------------------------------------
// TBarCustomAccObject: the live list

TBarCustomAccObject::TBarCustomAccObject()
{
    std::lock_guard<std::recursive_mutex> lock(gLiveLock);
    FNext = gFirstLive;
    if (gFirstLive)
        gFirstLive->FPrevious = this;
    gFirstLive = this;
}

TBarCustomAccObject::~TBarCustomAccObject()
{
    std::lock_guard<std::recursive_mutex> lock(gLiveLock);
    if (FPrevious)
        FPrevious->FNext = FNext;
    else
        gFirstLive = FNext;
    if (FNext)
        FNext->FPrevious = FPrevious;
}

HRESULT TBarCustomAccObject::get_accDescription(VARIANT child, BSTR* description)
{
    return AboutSelf(this, description, child, [] { return S_FALSE; });
}

HRESULT TBarCustomAccObject::get_accHelp(VARIANT child, BSTR* help)
{
    return AboutSelf(this, help, child, [] { return S_FALSE; });
}

HRESULT TBarCustomAccObject::get_accHelpTopic(BSTR* file, VARIANT child, long* topic)
{
    if (topic)
        *topic = 0;
    return AboutSelf(this, file, child, [] { return S_FALSE; });
}

HRESULT TBarCustomAccObject::get_accFocus(VARIANT* focus)
{
    return AboutObject(this, focus, [&] { return AnswerEmpty(focus); });
}

HRESULT TBarCustomAccObject::get_accSelection(VARIANT* selection)
{
    return AboutObject(this, selection, [&] { return AnswerEmpty(selection); });
}

HRESULT TBarCustomAccObject::put_accName(VARIANT, BSTR)
{
    return S_FALSE;
}

HRESULT TBarCustomAccObject::put_accValue(VARIANT, BSTR)
{
    return S_FALSE;
}

void TBarCustomAccObject::DisconnectAll()
{
    std::vector<TBarCustomAccObject*> live;
    {
        std::lock_guard<std::recursive_mutex> lock(gLiveLock);
        for (TBarCustomAccObject* object = gFirstLive; object; object = object->FNext) {
            object->AddRef();
            live.push_back(object);
        }
    }
    for (TBarCustomAccObject* object : live) {
        CoDisconnectObject(static_cast<IAccessible*>(object), 0);
        object->Release();
    }
}

// ---------------------------------------------------------------------------
// Views and viewers: their objects, focus events and queued requests

TBarViewAccObject* TBarView::AccObject()
{
    if (!FAccObject && BarAccessibilityAvailable())
        FAccObject = new TBarViewAccObject(this);
    return FAccObject;
}

std::vector<TBarItemViewer*> TBarView::AccessibleViewers() const
{
    std::vector<TBarItemViewer*> seen;
    for (TBarItemViewer* viewer : FViewers)
        if (SeenByReaders(viewer))
            seen.push_back(viewer);
    return seen;
}

int TBarView::AccessibleIndexOf(const TBarItemViewer* viewer) const
{
    std::vector<TBarItemViewer*> seen = AccessibleViewers();
    for (size_t i = 0; i < seen.size(); ++i)
        if (seen[i] == viewer)
            return static_cast<int>(i);
    return -1;
}

void TBarView::NotifyAccessibleFocus()
{
    TBarView* root = RootView();
    if (!HasViewState(bvsModal) || !root->HasViewState(bvsModal) ||
        root->DoneAction().Kind != TBarLoopResultKind::None)
        return;
    if (!FWindow || !FWindow->HandleAllocated() || !IsWindowVisible(FWindow->WindowHandle()))
        return;
    // No layout here: it may replace viewers the caller still holds.
    int index = FSelected ? AccessibleIndexOf(FSelected) : -1;
    if (index < 0 && FParentView) {
        FParentView->NotifyAccessibleFocus();
        return;
    }
    BarNotifyWinEvent(EVENT_OBJECT_FOCUS, FWindow->WindowHandle(), OBJID_CLIENT, index + 1);
}

TBarItemViewerAccObject* TBarItemViewer::AccObject()
{
    if (!FAccObject && BarAccessibilityAvailable())
        FAccObject = new TBarItemViewerAccObject(this);
    return FAccObject;
}

bool TBarItemViewer::AccFocusable()
{
    TWinControl* window = FView->Window();
    if (!window || !window->HandleAllocated() || FView->HasState(csDesigning))
        return false;
    HWND handle = window->WindowHandle();
    if (!IsWindowVisible(handle) || !EnabledWithParents(handle))
        return false;
    if (RunsLoop(FView))
        return true;
    HWND active = GetActiveWindow();
    return active && (active == handle || IsChild(active, handle));
}

bool TBarItemViewer::AccCanAct()
{
    return SeenByReaders(this) && FItem->Enabled() && FItem->HasTrait(HotTrackable) &&
           AccFocusable();
}

void TBarItemViewer::RunAccessibleRequest(WPARAM Flag)
{
    TBarView* view = FView;
    if (Flag == 1 ? !AccCanAct() : !AccFocusable())
        return;
    view->ChangeSelection(this, false);
    view->RevealSelection();
    bool inLoop = RunsLoop(view);
    if (Flag == 1 && inLoop) {
        view->RunSelectedItem(false);
        return;
    }
    if (inLoop || view->ParentView())
        return;
    if (Flag == 1 && !GetCapture())
        view->BeginToolbarTracking(btoExecuteSelection | btoNoPriorityMove);
    else if (Flag == 0)
        view->BeginToolbarTracking(btoNoPriorityMove);
}

// ---------------------------------------------------------------------------
// TBarViewAccObject

TBarViewAccObject::TBarViewAccObject(TBarView* view) : FView(view)
{
    ++gLiveViewObjects;
}

TBarViewAccObject::~TBarViewAccObject()
{
    --gLiveViewObjects;
}

HRESULT TBarViewAccObject::get_accParent(IDispatch** parent)
{
    return AboutObject(this, parent, [&]() -> HRESULT {
        TBarView* parentView = FView->ParentView();
        if (parentView && parentView->OpenChildView() == FView && parentView->OpenViewer())
            return AnswerDispatch(parent, ViewerObject(parentView->OpenViewer()));
        return BarStandardAccessibleObject(FView->Window()->Handle(), OBJID_WINDOW, parent);
    });
}

HRESULT TBarViewAccObject::get_accChildCount(long* count)
{
    return AboutObject(this, count, [&] {
        FView->EnsureLayout();
        *count = static_cast<long>(FView->AccessibleViewers().size());
        return S_OK;
    });
}

HRESULT TBarViewAccObject::get_accChild(VARIANT child, IDispatch** result)
{
    return AboutObject(this, result, [&]() -> HRESULT {
        FView->EnsureLayout();
        std::vector<TBarItemViewer*> seen = FView->AccessibleViewers();
        long index = ChildIndex(child);
        if (index < 1 || index > static_cast<long>(seen.size()))
            return E_INVALIDARG;
        return AnswerDispatch(result, ViewerObject(seen[index - 1]));
    });
}

HRESULT TBarViewAccObject::get_accName(VARIANT child, BSTR* name)
{
    return AboutSelf(this, name, child, [&] {
        TBarView* parentView = FView->ParentView();
        if (parentView && parentView->OpenChildView() == FView && parentView->OpenViewer())
            return AnswerText(name, RemoveAccelMarks(parentView->OpenViewer()->ShownCaption()));
        HWND window = FView->Window()->Handle();
        int length = GetWindowTextLengthA(window);
        AnsiString text(static_cast<size_t>(length) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
        return AnswerText(name, text);
    });
}

HRESULT TBarViewAccObject::get_accValue(VARIANT child, BSTR* value)
{
    return AboutSelf(this, value, child, [] { return S_FALSE; });
}

HRESULT TBarViewAccObject::get_accRole(VARIANT child, VARIANT* role)
{
    return AboutSelf(this, role, child, [&] {
        long value = ROLE_SYSTEM_TOOLBAR;
        if (FView->IsPopup())
            value = ROLE_SYSTEM_MENUPOPUP;
        else if (FView->ViewStyle() & bvsMenuBar)
            value = ROLE_SYSTEM_MENUBAR;
        return AnswerNumber(role, value);
    });
}

HRESULT TBarViewAccObject::get_accState(VARIANT child, VARIANT* state)
{
    return AboutSelf(this, state, child, [&] { return AnswerNumber(state, 0); });
}

HRESULT TBarViewAccObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return AboutSelf(this, shortcut, child, [&] {
        return AnswerText(shortcut,
                          (FView->ViewStyle() & bvsMenuBar) ? AltKeyName() : AnsiString());
    });
}

HRESULT TBarViewAccObject::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return AboutSelf(this, action, child, [] { return S_FALSE; });
}

HRESULT TBarViewAccObject::accSelect(long, VARIANT child)
{
    return AboutSelf(this, child, [] { return S_OK; });
}

HRESULT TBarViewAccObject::accLocation(long* left, long* top, long* width, long* height,
                                       VARIANT child)
{
    ClearLocation(left, top, width, height);
    return AboutSelf(this, child, [&] {
        TWinControl* window = FView->Window();
        return AnswerRect(left, top, width, height, ScreenRectOf(window, window->ClientRect()));
    });
}

HRESULT TBarViewAccObject::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    return AboutSelf(this, end, start, [&] {
        FView->EnsureLayout();
        std::vector<TBarItemViewer*> seen = FView->AccessibleViewers();
        if ((direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD) || seen.empty())
            return AnswerEmpty(end);
        return AnswerObject(
            end, ViewerObject(direction == NAVDIR_FIRSTCHILD ? seen.front() : seen.back()));
    });
}

HRESULT TBarViewAccObject::accHitTest(long x, long y, VARIANT* child)
{
    return AboutObject(this, child, [&] {
        TWinControl* window = FView->Window();
        TPoint client = window->ScreenToClient(TPoint(x, y));
        if (!window->ClientRect().Contains(client))
            return AnswerEmpty(child);
        if (TBarItemViewer* viewer = FView->ViewerAtPixel(client))
            return AnswerObject(child, ViewerObject(viewer));
        return AnswerNumber(child, CHILDID_SELF);
    });
}

HRESULT TBarViewAccObject::accDoDefaultAction(VARIANT child)
{
    return AboutSelf(this, child, [] { return S_OK; });
}

// ---------------------------------------------------------------------------
// TBarItemViewerAccObject

HRESULT TBarItemViewerAccObject::get_accParent(IDispatch** parent)
{
    return AboutObject(this, parent,
                       [&] { return AnswerDispatch(parent, ViewObject(FViewer->View())); });
}

HRESULT TBarItemViewerAccObject::get_accChildCount(long* count)
{
    return AboutObject(this, count, [&] {
        *count = OpenChildOf(FViewer) ? 1 : 0;
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::get_accChild(VARIANT child, IDispatch** result)
{
    return AboutObject(this, result, [&]() -> HRESULT {
        TBarView* open = OpenChildOf(FViewer);
        if (ChildIndex(child) != 1 || !open)
            return E_INVALIDARG;
        return AnswerDispatch(result, ViewObject(open));
    });
}

HRESULT TBarItemViewerAccObject::get_accName(VARIANT child, BSTR* name)
{
    return AboutSelf(this, name, child, [&] {
        AnsiString text = RemoveAccelMarks(FViewer->ShownCaption());
        AnsiString shortcut = FViewer->Item()->ShortcutCaption();
        if (!FViewer->HasBarLook() && !shortcut.empty())
            text += "\t" + shortcut;
        return AnswerText(name, text);
    });
}

HRESULT TBarItemViewerAccObject::get_accValue(VARIANT child, BSTR* value)
{
    return AboutSelf(this, value, child, [&] {
        AnsiString text;
        if (!FViewer->AccessibleValue(text))
            return S_FALSE;
        *value = AnsiToBstr(text);
        return *value ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT TBarItemViewerAccObject::get_accRole(VARIANT child, VARIANT* role)
{
    return AboutSelf(this, role, child,
                     [&] { return AnswerNumber(role, FViewer->AccessibleRole()); });
}

HRESULT TBarItemViewerAccObject::get_accState(VARIANT child, VARIANT* state)
{
    return AboutSelf(this, state, child, [&] {
        TBarView* view = FViewer->View();
        TBarCustomItem* item = FViewer->Item();
        long value = 0;
        if (view->Selected() == FViewer) {
            value |= STATE_SYSTEM_HOTTRACKED;
            if (RunsLoop(view))
                value |= STATE_SYSTEM_FOCUSED;
            if (view->Capturing() && view->MouseInButtonPart())
                value |= STATE_SYSTEM_PRESSED;
        }
        if (item->HasTrait(OpensPopup))
            value |= STATE_SYSTEM_HASPOPUP;
        if (!FViewer->IsAccessible())
            value |= STATE_SYSTEM_INVISIBLE;
        else if (FViewer->AccFocusable())
            value |= STATE_SYSTEM_FOCUSABLE;
        if (!item->Enabled() || !item->HasTrait(HotTrackable))
            value |= STATE_SYSTEM_UNAVAILABLE;
        if (item->Checked())
            value |= STATE_SYSTEM_CHECKED;
        return AnswerNumber(state, value);
    });
}

HRESULT TBarItemViewerAccObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return AboutSelf(this, shortcut, child, [&] {
        char accelerator = ExtractAccelChar(FViewer->ShownCaption());
        if (!accelerator)
            return S_FALSE;
        CharUpperBuffA(&accelerator, 1);
        AnsiString text(1, accelerator);
        if (FViewer->View()->IsToolbar())
            text = AltKeyName() + "+" + text;
        return AnswerText(shortcut, text);
    });
}

HRESULT TBarItemViewerAccObject::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return AboutSelf(this, action, child, [&] {
        TBarView* view = FViewer->View();
        const char* text = "Press";
        if (OpenChildOf(FViewer))
            text = "Close";
        else if (FViewer->Item()->HasTrait(OpensPopup))
            text = "Open";
        else if (view->IsPopup() || (view->ViewStyle() & bvsMenuBar))
            text = "Execute";
        return AnswerText(action, text);
    });
}

HRESULT TBarItemViewerAccObject::accSelect(long flags, VARIANT child)
{
    return AboutSelf(this, child, [&] {
        if (!(flags & SELFLAG_TAKEFOCUS))
            return S_OK;
        if (!FViewer->IsAccessible() || !FViewer->AccFocusable())
            return E_FAIL;
        TBarView* view = FViewer->View();
        view->ChangeSelection(FViewer, false);
        view->RevealSelection();
        if (!view->ParentView() && !RunsLoop(view))
            PostBarClick(FViewer, 0);
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::accLocation(long* left, long* top, long* width, long* height,
                                             VARIANT child)
{
    ClearLocation(left, top, width, height);
    return AboutSelf(this, child, [&] {
        return AnswerRect(left, top, width, height,
                          ScreenRectOf(FViewer->View()->Window(), FViewer->BoundsRect()));
    });
}

HRESULT TBarItemViewerAccObject::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    return AboutSelf(this, end, start, [&] {
        TBarView* view = FViewer->View();
        if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)
            return AnswerObject(end, ViewObject(OpenChildOf(FViewer)));
        bool back =
            direction == NAVDIR_UP || direction == NAVDIR_LEFT || direction == NAVDIR_PREVIOUS;
        bool forward =
            direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT || direction == NAVDIR_NEXT;
        std::vector<TBarItemViewer*> seen = view->AccessibleViewers();
        int index = view->AccessibleIndexOf(FViewer);
        int next = back ? index - 1 : index + 1;
        if ((!back && !forward) || index < 0 || next < 0 || next >= static_cast<int>(seen.size()))
            return AnswerEmpty(end);
        return AnswerObject(end, ViewerObject(seen[next]));
    });
}

HRESULT TBarItemViewerAccObject::accHitTest(long x, long y, VARIANT* child)
{
    return AboutObject(this, child, [&] {
        TPoint client = FViewer->View()->Window()->ScreenToClient(TPoint(x, y));
        if (!FViewer->BoundsRect().Contains(client))
            return AnswerEmpty(child);
        return AnswerNumber(child, CHILDID_SELF);
    });
}

HRESULT TBarItemViewerAccObject::accDoDefaultAction(VARIANT child)
{
    return AboutSelf(this, child, [&] {
        if (!FViewer->AccCanAct())
            return E_FAIL;
        TBarView* view = FViewer->View();
        if (OpenChildOf(FViewer)) {
            view->ShutChildPopups();
            if ((view->ViewStyle() & bvsMenuBar) && RunsLoop(view))
                view->EndModal();
            return S_OK;
        }
        view->ChangeSelection(FViewer, false);
        view->RevealSelection();
        PostBarClick(FViewer, 1);
        return S_OK;
    });
}
