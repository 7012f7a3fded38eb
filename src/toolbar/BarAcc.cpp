#include "BarAcc.h"

#include "BarCommon.h"

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
bool gComInitialized = false; // the framework's start initialised COM

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
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (result && length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result, length);
    return result;
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

void AnswerNumber(VARIANT* out, long value)
{
    out->vt = VT_I4;
    out->lVal = value;
}

HRESULT AnswerRect(long* left, long* top, long* width, long* height, const TRect& r)
{
    *left = r.left;
    *top = r.top;
    *width = r.Width();
    *height = r.Height();
    return S_OK;
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
    message.Result = AccLibrary().LresultFromObject(__uuidof(IAccessible), message.WParam,
                                                    static_cast<IAccessible*>(object));
    return true;
}

void StartBarAccessibility()
{
    gComInitialized = SUCCEEDED(CoInitialize(nullptr));
}

void StopBarAccessibility()
{
    TBarCustomAccObject::DisconnectAll();
    if (gComInitialized)
        CoUninitialize();
    gComInitialized = false;
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
    return Guarded([&]() -> HRESULT {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!FView)
            return E_FAIL;
        TBarView* parentView = FView->ParentView();
        if (parentView && parentView->OpenChildView() == FView && parentView->OpenViewer())
            return AnswerDispatch(parent, ViewerObject(parentView->OpenViewer()));
        return BarStandardAccessibleObject(FView->Window()->Handle(), OBJID_WINDOW, parent);
    });
}

HRESULT TBarViewAccObject::get_accChildCount(long* count)
{
    return Guarded([&]() -> HRESULT {
        if (!count)
            return E_POINTER;
        *count = 0;
        if (!FView)
            return E_FAIL;
        FView->EnsureLayout();
        *count = static_cast<long>(FView->AccessibleViewers().size());
        return S_OK;
    });
}

HRESULT TBarViewAccObject::get_accChild(VARIANT child, IDispatch** result)
{
    return Guarded([&]() -> HRESULT {
        if (!result)
            return E_POINTER;
        *result = nullptr;
        if (!FView)
            return E_FAIL;
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
    return Guarded([&]() -> HRESULT {
        if (!name)
            return E_POINTER;
        *name = nullptr;
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FView)
            return E_FAIL;
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
    return Guarded([&]() -> HRESULT {
        if (!value)
            return E_POINTER;
        *value = nullptr;
        if (!IsSelf(child))
            return E_INVALIDARG;
        return FView ? S_FALSE : E_FAIL;
    });
}

HRESULT TBarViewAccObject::get_accDescription(VARIANT child, BSTR* description)
{
    return get_accValue(child, description);
}

HRESULT TBarViewAccObject::get_accRole(VARIANT child, VARIANT* role)
{
    return Guarded([&]() -> HRESULT {
        if (!role)
            return E_POINTER;
        VariantInit(role);
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FView)
            return E_FAIL;
        long value = ROLE_SYSTEM_TOOLBAR;
        if (FView->IsPopup())
            value = ROLE_SYSTEM_MENUPOPUP;
        else if (FView->ViewStyle() & bvsMenuBar)
            value = ROLE_SYSTEM_MENUBAR;
        AnswerNumber(role, value);
        return S_OK;
    });
}

HRESULT TBarViewAccObject::get_accState(VARIANT child, VARIANT* state)
{
    return Guarded([&]() -> HRESULT {
        if (!state)
            return E_POINTER;
        VariantInit(state);
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FView)
            return E_FAIL;
        AnswerNumber(state, 0);
        return S_OK;
    });
}

HRESULT TBarViewAccObject::get_accHelp(VARIANT child, BSTR* help)
{
    return get_accValue(child, help);
}

HRESULT TBarViewAccObject::get_accHelpTopic(BSTR* file, VARIANT child, long* topic)
{
    return Guarded([&]() -> HRESULT {
        if (!file || !topic)
            return E_POINTER;
        *file = nullptr;
        *topic = 0;
        if (!IsSelf(child))
            return E_INVALIDARG;
        return FView ? S_FALSE : E_FAIL;
    });
}

HRESULT TBarViewAccObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return Guarded([&]() -> HRESULT {
        if (!shortcut)
            return E_POINTER;
        *shortcut = nullptr;
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FView)
            return E_FAIL;
        return AnswerText(shortcut,
                          (FView->ViewStyle() & bvsMenuBar) ? AltKeyName() : AnsiString());
    });
}

HRESULT TBarViewAccObject::get_accFocus(VARIANT* focus)
{
    return Guarded([&]() -> HRESULT {
        if (!focus)
            return E_POINTER;
        VariantInit(focus);
        return FView ? AnswerEmpty(focus) : E_FAIL;
    });
}

HRESULT TBarViewAccObject::get_accSelection(VARIANT* selection)
{
    return get_accFocus(selection);
}

HRESULT TBarViewAccObject::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return get_accValue(child, action);
}

HRESULT TBarViewAccObject::accSelect(long, VARIANT child)
{
    if (!IsSelf(child))
        return E_INVALIDARG;
    return FView ? S_OK : E_FAIL;
}

HRESULT TBarViewAccObject::accLocation(long* left, long* top, long* width, long* height,
                                       VARIANT child)
{
    return Guarded([&]() -> HRESULT {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FView)
            return E_FAIL;
        TWinControl* window = FView->Window();
        return AnswerRect(left, top, width, height, ScreenRectOf(window, window->ClientRect()));
    });
}

HRESULT TBarViewAccObject::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    return Guarded([&]() -> HRESULT {
        if (!end)
            return E_POINTER;
        VariantInit(end);
        if (!IsSelf(start))
            return E_INVALIDARG;
        if (!FView)
            return E_FAIL;
        if (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD)
            return AnswerEmpty(end);
        FView->EnsureLayout();
        std::vector<TBarItemViewer*> seen = FView->AccessibleViewers();
        if (seen.empty())
            return AnswerEmpty(end);
        return AnswerObject(
            end, ViewerObject(direction == NAVDIR_FIRSTCHILD ? seen.front() : seen.back()));
    });
}

HRESULT TBarViewAccObject::accHitTest(long x, long y, VARIANT* child)
{
    return Guarded([&]() -> HRESULT {
        if (!child)
            return E_POINTER;
        VariantInit(child);
        if (!FView)
            return E_FAIL;
        TWinControl* window = FView->Window();
        TPoint client = window->ScreenToClient(TPoint(x, y));
        if (!window->ClientRect().Contains(client))
            return AnswerEmpty(child);
        if (TBarItemViewer* viewer = FView->ViewerAtPixel(client))
            return AnswerObject(child, ViewerObject(viewer));
        AnswerNumber(child, CHILDID_SELF);
        return S_OK;
    });
}

HRESULT TBarViewAccObject::accDoDefaultAction(VARIANT child)
{
    return accSelect(0, child);
}

HRESULT TBarViewAccObject::put_accName(VARIANT, BSTR)
{
    return S_FALSE;
}

HRESULT TBarViewAccObject::put_accValue(VARIANT, BSTR)
{
    return S_FALSE;
}

// ---------------------------------------------------------------------------
// TBarItemViewerAccObject

HRESULT TBarItemViewerAccObject::get_accParent(IDispatch** parent)
{
    return Guarded([&]() -> HRESULT {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!FViewer)
            return E_FAIL;
        return AnswerDispatch(parent, ViewObject(FViewer->View()));
    });
}

HRESULT TBarItemViewerAccObject::get_accChildCount(long* count)
{
    return Guarded([&]() -> HRESULT {
        if (!count)
            return E_POINTER;
        *count = 0;
        if (!FViewer)
            return E_FAIL;
        TBarView* view = FViewer->View();
        *count = view->OpenViewer() == FViewer && view->OpenChildView() ? 1 : 0;
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::get_accChild(VARIANT child, IDispatch** result)
{
    return Guarded([&]() -> HRESULT {
        if (!result)
            return E_POINTER;
        *result = nullptr;
        if (!FViewer)
            return E_FAIL;
        TBarView* view = FViewer->View();
        if (ChildIndex(child) != 1 || view->OpenViewer() != FViewer || !view->OpenChildView())
            return E_INVALIDARG;
        return AnswerDispatch(result, ViewObject(view->OpenChildView()));
    });
}

HRESULT TBarItemViewerAccObject::get_accName(VARIANT child, BSTR* name)
{
    return Guarded([&]() -> HRESULT {
        if (!name)
            return E_POINTER;
        *name = nullptr;
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FViewer)
            return E_FAIL;
        AnsiString text = RemoveAccelMarks(FViewer->ShownCaption());
        AnsiString shortcut = FViewer->Item()->ShortcutCaption();
        if (!FViewer->HasBarLook() && !shortcut.empty())
            text += "\t" + shortcut;
        return AnswerText(name, text);
    });
}

HRESULT TBarItemViewerAccObject::get_accValue(VARIANT child, BSTR* value)
{
    return Guarded([&]() -> HRESULT {
        if (!value)
            return E_POINTER;
        *value = nullptr;
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FViewer)
            return E_FAIL;
        AnsiString text;
        if (!FViewer->AccessibleValue(text))
            return S_FALSE;
        *value = AnsiToBstr(text);
        return *value ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT TBarItemViewerAccObject::get_accDescription(VARIANT child, BSTR* description)
{
    return Guarded([&]() -> HRESULT {
        if (!description)
            return E_POINTER;
        *description = nullptr;
        if (!IsSelf(child))
            return E_INVALIDARG;
        return FViewer ? S_FALSE : E_FAIL;
    });
}

HRESULT TBarItemViewerAccObject::get_accRole(VARIANT child, VARIANT* role)
{
    return Guarded([&]() -> HRESULT {
        if (!role)
            return E_POINTER;
        VariantInit(role);
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FViewer)
            return E_FAIL;
        AnswerNumber(role, FViewer->AccessibleRole());
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::get_accState(VARIANT child, VARIANT* state)
{
    return Guarded([&]() -> HRESULT {
        if (!state)
            return E_POINTER;
        VariantInit(state);
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FViewer)
            return E_FAIL;
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
        if (FViewer->IsAccessible()) {
            if (FViewer->AccFocusable())
                value |= STATE_SYSTEM_FOCUSABLE;
        } else {
            value |= STATE_SYSTEM_INVISIBLE;
        }
        if (!item->Enabled() || !item->HasTrait(HotTrackable))
            value |= STATE_SYSTEM_UNAVAILABLE;
        if (item->Checked())
            value |= STATE_SYSTEM_CHECKED;
        AnswerNumber(state, value);
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::get_accHelp(VARIANT child, BSTR* help)
{
    return get_accDescription(child, help);
}

HRESULT TBarItemViewerAccObject::get_accHelpTopic(BSTR* file, VARIANT child, long* topic)
{
    return Guarded([&]() -> HRESULT {
        if (!file || !topic)
            return E_POINTER;
        *file = nullptr;
        *topic = 0;
        if (!IsSelf(child))
            return E_INVALIDARG;
        return FViewer ? S_FALSE : E_FAIL;
    });
}

HRESULT TBarItemViewerAccObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return Guarded([&]() -> HRESULT {
        if (!shortcut)
            return E_POINTER;
        *shortcut = nullptr;
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FViewer)
            return E_FAIL;
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

HRESULT TBarItemViewerAccObject::get_accFocus(VARIANT* focus)
{
    return Guarded([&]() -> HRESULT {
        if (!focus)
            return E_POINTER;
        VariantInit(focus);
        return FViewer ? AnswerEmpty(focus) : E_FAIL;
    });
}

HRESULT TBarItemViewerAccObject::get_accSelection(VARIANT* selection)
{
    return get_accFocus(selection);
}

HRESULT TBarItemViewerAccObject::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return Guarded([&]() -> HRESULT {
        if (!action)
            return E_POINTER;
        *action = nullptr;
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FViewer)
            return E_FAIL;
        TBarView* view = FViewer->View();
        const char* text = "Press";
        if (view->OpenViewer() == FViewer && view->OpenChildView())
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
    return Guarded([&]() -> HRESULT {
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FViewer)
            return E_FAIL;
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
    return Guarded([&]() -> HRESULT {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FViewer)
            return E_FAIL;
        FViewer->View()->EnsureLayout();
        return AnswerRect(left, top, width, height,
                          ScreenRectOf(FViewer->View()->Window(), FViewer->BoundsRect()));
    });
}

HRESULT TBarItemViewerAccObject::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    return Guarded([&]() -> HRESULT {
        if (!end)
            return E_POINTER;
        VariantInit(end);
        if (!IsSelf(start))
            return E_INVALIDARG;
        if (!FViewer)
            return E_FAIL;
        TBarView* view = FViewer->View();
        switch (direction) {
        case NAVDIR_FIRSTCHILD:
        case NAVDIR_LASTCHILD:
            if (view->OpenViewer() != FViewer)
                return AnswerEmpty(end);
            return AnswerObject(end, ViewObject(view->OpenChildView()));
        case NAVDIR_UP:
        case NAVDIR_LEFT:
        case NAVDIR_PREVIOUS:
        case NAVDIR_DOWN:
        case NAVDIR_RIGHT:
        case NAVDIR_NEXT: {
            view->EnsureLayout();
            std::vector<TBarItemViewer*> seen = view->AccessibleViewers();
            int index = view->AccessibleIndexOf(FViewer);
            bool back =
                direction == NAVDIR_UP || direction == NAVDIR_LEFT || direction == NAVDIR_PREVIOUS;
            int next = back ? index - 1 : index + 1;
            if (index < 0 || next < 0 || next >= static_cast<int>(seen.size()))
                return AnswerEmpty(end);
            return AnswerObject(end, ViewerObject(seen[next]));
        }
        default:
            return AnswerEmpty(end);
        }
    });
}

HRESULT TBarItemViewerAccObject::accHitTest(long x, long y, VARIANT* child)
{
    return Guarded([&]() -> HRESULT {
        if (!child)
            return E_POINTER;
        VariantInit(child);
        if (!FViewer)
            return E_FAIL;
        TPoint client = FViewer->View()->Window()->ScreenToClient(TPoint(x, y));
        if (!FViewer->BoundsRect().Contains(client))
            return AnswerEmpty(child);
        AnswerNumber(child, CHILDID_SELF);
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::accDoDefaultAction(VARIANT child)
{
    return Guarded([&]() -> HRESULT {
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!FViewer)
            return E_FAIL;
        if (!FViewer->AccCanAct())
            return E_FAIL;
        TBarView* view = FViewer->View();
        if (view->OpenViewer() == FViewer && view->OpenChildView()) {
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

HRESULT TBarItemViewerAccObject::put_accName(VARIANT, BSTR)
{
    return S_FALSE;
}

HRESULT TBarItemViewerAccObject::put_accValue(VARIANT, BSTR)
{
    return S_FALSE;
}
