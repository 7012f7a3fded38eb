#include "DropTarget.h"

#include "classlib/Exceptions.h"
#include "classlib/Graphics.h"
#include "classlib/HiddenWindow.h"
#include "classlib/ImageList.h"
#include "classlib/OleStart.h"
#include "classlib/Seams.h"
#include "classlib/Timer.h"
#include "classlib/WinControl.h"

#include <commctrl.h>
#include <cstdlib>

namespace {

constexpr int kDropEffectMask = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
constexpr unsigned kHorizontalScroll = 1;
constexpr unsigned kVerticalScroll = 2;
constexpr unsigned kAutoScrollMs = 100;
constexpr int kDragImageSize = 32;
constexpr UINT kReportLostMessage = WM_APP + 7;

constexpr const wchar_t* kLostCaption = L"警告";

// Only Shift and Ctrl count in a drag.
TShiftState ShiftOfKeys(DWORD keyState)
{
    return MouseShiftState(keyState) & (ssShift | ssCtrl);
}

FORMATETC GlobalFormat(CLIPFORMAT format)
{
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// A global-memory medium of a data object, locked while it lives.
class TLockedMedium
{
public:
    TLockedMedium(IDataObject* data, CLIPFORMAT format)
    {
        FORMATETC wanted = GlobalFormat(format);
        if (FAILED(data->GetData(&wanted, &FMedium)))
            return;
        FHeld = true;
        if (FMedium.tymed != TYMED_HGLOBAL || !FMedium.hGlobal)
            return;
        FBytes = GlobalLock(FMedium.hGlobal);
        FSize = FBytes ? GlobalSize(FMedium.hGlobal) : 0;
    }
    ~TLockedMedium()
    {
        if (FBytes)
            GlobalUnlock(FMedium.hGlobal);
        if (FHeld)
            ReleaseStgMedium(&FMedium);
    }
    TLockedMedium(const TLockedMedium&) = delete;
    TLockedMedium& operator=(const TLockedMedium&) = delete;
    bool Locked() const { return FBytes != nullptr; }
    TMemoryByteSource Bytes() const { return TMemoryByteSource(FBytes, FSize); }

private:
    STGMEDIUM FMedium{};
    bool FHeld = false;
    const void* FBytes = nullptr;
    std::size_t FSize = 0;
};

} // namespace

// --- TDropTarget -------------------------------------------------------------------------------

TDropTarget::TDropTarget(TComponent* AOwner) : TInterfacedComponent(AOwner)
{
    FScrollTimer = new TTimer(this);
    FScrollTimer->SetEnabled(false);
    FScrollTimer->SetInterval(kAutoScrollMs);
    FScrollTimer->OnTimer = TNotifyEvent(this, &TDropTarget::AutoScrollTimer);
    // The target holds a reference on itself: OLE's releases never free it.
    AddReference();
    FImages = new TImageList(this);
    FImages->SetWidth(kDragImageSize);
    FImages->SetHeight(kDragImageSize);
    TBitmap transparent;
    transparent.SetSize(kDragImageSize, kDragImageSize);
    transparent.Canvas()->Brush()->SetColor(clWindow);
    transparent.Canvas()->FillRect(TRect(0, 0, kDragImageSize, kDragImageSize));
    FImages->AddMasked(&transparent, clWindow);
}

TDropTarget::~TDropTarget()
{
    ReleaseDataObject();
    LetTargetGo();
}

bool TDropTarget::LetTargetGo()
{
    FTargetActive = false;
    if (!FTarget)
        return true;
    TWinControl* target = FTarget;
    FTarget = nullptr;
    target->RemoveFreeNotification(this);
    return !target->HandleAllocated() || SUCCEEDED(RevokeDragDrop(target->WindowHandle()));
}

void TDropTarget::Register(TWinControl* control)
{
    if (control == FTarget)
        return;
    if (FTarget)
        Unregister();
    if (!control)
        return;
    FTarget = control;
    FTarget->FreeNotification(this);
    StartOle();
    if (FAILED(RegisterDragDrop(FTarget->Handle(), static_cast<IDropTarget*>(this)))) {
        FTarget->RemoveFreeNotification(this);
        FTarget = nullptr;
        throw Exception("Failed to Register " + control->Name());
    }
    FTargetActive = true;
}

void TDropTarget::Unregister()
{
    const AnsiString name = FTarget ? FTarget->Name() : AnsiString();
    if (!LetTargetGo())
        throw Exception("Failed to Unregister " + name);
}

void TDropTarget::Notification(TComponent* AComponent, TOperation Operation)
{
    TInterfacedComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FTarget)
        LetTargetGo();
}

void TDropTarget::SetShowImage(bool value)
{
    FShowImage = value;
    if (FDragImages)
        ImageList_DragShowNolock(value);
}

TPoint TDropTarget::ClientPoint(POINTL screen) const
{
    return FTarget ? FTarget->ScreenToClient(TPoint(screen.x, screen.y))
                   : TPoint(screen.x, screen.y);
}

void TDropTarget::HoldDataObject(IDataObject* data)
{
    ReleaseDataObject();
    FDataObject = data;
    if (FDataObject)
        FDataObject->AddRef();
}

void TDropTarget::ReleaseDataObject()
{
    if (FDataObject)
        FDataObject->Release();
    FDataObject = nullptr;
}

// The image of the drag follows the mouse over the control's window; its
// points count from the window's top-left corner.
void TDropTarget::ShowDragImage(TPoint point)
{
    if (!FShowImage || !FTarget)
        return;
    POINT hotSpot{};
    FDragImages = ImageList_GetDragImage(nullptr, &hotSpot);
    if (!FDragImages)
        return;
    FImageHotSpot = TPoint(hotSpot);
    ImageList_SetDragCursorImage(FImages->Handle(), 0, hotSpot.x, hotSpot.y);
    RECT window{};
    GetWindowRect(FTarget->WindowHandle(), &window);
    POINT screen = point;
    ClientToScreen(FTarget->WindowHandle(), &screen);
    ImageList_DragEnter(FTarget->WindowHandle(), screen.x - window.left, screen.y - window.top);
    FImageShown = true;
}

void TDropTarget::HideDragImage()
{
    if (FImageShown && FTarget)
        ImageList_DragLeave(FTarget->WindowHandle());
    FImageShown = false;
    FDragImages = nullptr;
}

int TDropTarget::AllowedDropEffect(TShiftState shift, TPoint point, int offered)
{
    int effect = offered & kDropEffectMask;
    if (!(Dragtypes & DragTypesOf(TDragType::dtCopy)))
        effect &= ~DROPEFFECT_COPY;
    if (!(Dragtypes & DragTypesOf(TDragType::dtMove)))
        effect &= ~DROPEFFECT_MOVE;
    if (!(Dragtypes & DragTypesOf(TDragType::dtLink)))
        effect &= ~DROPEFFECT_LINK;
    if (OnGetDropEffect) {
        OnGetDropEffect(this, shift, point, effect);
        return effect;
    }
    const bool shiftHeld = shift & ssShift;
    const bool ctrlHeld = shift & ssCtrl;
    if (shiftHeld && ctrlHeld && (effect & DROPEFFECT_LINK))
        effect = DROPEFFECT_LINK;
    else if (shiftHeld && !ctrlHeld && (effect & DROPEFFECT_MOVE))
        effect = DROPEFFECT_MOVE;
    else if (effect & DROPEFFECT_COPY)
        effect = DROPEFFECT_COPY;
    else if (effect & DROPEFFECT_MOVE)
        effect = DROPEFFECT_MOVE;
    else if (effect & DROPEFFECT_LINK)
        effect = DROPEFFECT_LINK;
    else
        effect = DROPEFFECT_NONE;
    if (!FTarget)
        return effect;
    const int width = FTarget->ClientWidth();
    const int height = FTarget->ClientHeight();
    if ((FScrollFlags & kHorizontalScroll) &&
        (point.x < FScrollMargin || point.x > width - FScrollMargin))
        return effect | kDropEffectScroll;
    if ((FScrollFlags & kVerticalScroll) &&
        (point.y < FScrollMargin || point.y > height - FScrollMargin))
        return effect | kDropEffectScroll;
    return effect;
}

void TDropTarget::DoEnter(TShiftState shift, TPoint point, int& effect)
{
    if (OnEnter)
        OnEnter(this, shift, point, effect);
}

void TDropTarget::FireDragOver(TShiftState shift, TPoint point, int& effect)
{
    if (OnDragOver)
        OnDragOver(this, shift, point, effect);
}

void TDropTarget::DoDrop(TShiftState shift, TPoint point, int& effect)
{
    if (OnDrop)
        OnDrop(this, shift, point, effect);
}

void TDropTarget::DoLeave()
{
    if (OnLeave)
        OnLeave(this);
}

HRESULT STDMETHODCALLTYPE TDropTarget::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TDropTarget::AddRef()
{
    return AddReference();
}

ULONG STDMETHODCALLTYPE TDropTarget::Release()
{
    return ReleaseReference();
}

HRESULT STDMETHODCALLTYPE TDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                                 DWORD* effect)
{
    try {
        ForgetDropData();
        HoldDataObject(data);
        FLastPoint = ClientPoint(point);
        ShowDragImage(FLastPoint);
        if (!FDataObject || !OffersFileList()) {
            ReleaseDataObject();
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        const LONG style = FTarget ? GetWindowLongA(FTarget->WindowHandle(), GWL_STYLE) : 0;
        FScrollFlags = (style & WS_HSCROLL ? kHorizontalScroll : 0) |
                       (style & WS_VSCROLL ? kVerticalScroll : 0);
        FScrollMargin = FTarget ? std::abs(FTarget->Font()->Height()) : 0;
        if (GetDataOnEnter)
            ReadDropData();
        const TShiftState shift = ShiftOfKeys(keyState);
        int allowed = AllowedDropEffect(shift, FLastPoint, static_cast<int>(*effect));
        DoEnter(shift, FLastPoint, allowed);
        *effect = static_cast<DWORD>(allowed);
    } catch (...) {
        *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect)
{
    try {
        const TPoint client = ClientPoint(point);
        if (!FDataObject) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        const TShiftState shift = ShiftOfKeys(keyState);
        int allowed = AllowedDropEffect(shift, client, static_cast<int>(*effect));
        FireDragOver(shift, client, allowed);
        const bool scrolling = FScrollFlags && (allowed & kDropEffectScroll);
        FScrollTimer->SetEnabled(scrolling);
        if (FImageShown && !scrolling && !(client == FLastPoint)) {
            RECT window{};
            GetWindowRect(FTarget->WindowHandle(), &window);
            ImageList_DragMove(point.x - window.left, point.y - window.top);
        }
        FLastPoint = client;
        *effect = static_cast<DWORD>(allowed);
    } catch (...) {
        *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TDropTarget::DragLeave()
{
    try {
        ForgetDropData();
        FScrollTimer->SetEnabled(false);
        ReleaseDataObject();
        HideDragImage();
        DoLeave();
    } catch (...) {
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point,
                                            DWORD* effect)
{
    try {
        if (!FDataObject) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        FScrollTimer->SetEnabled(false);
        HideDragImage();
        const TPoint client = ClientPoint(point);
        const TShiftState shift = ShiftOfKeys(keyState);
        // The scroll bit belongs to the drag, never to the drop's answer.
        int allowed =
            AllowedDropEffect(shift, client, static_cast<int>(*effect)) & ~kDropEffectScroll;
        if (!GetDataOnEnter && !ReadDropData())
            allowed = DROPEFFECT_NONE;
        else
            DoDrop(shift, client, allowed);
        ForgetDropData();
        ReleaseDataObject();
        *effect = static_cast<DWORD>(allowed & ~kDropEffectScroll);
    } catch (...) {
        ReleaseDataObject();
        *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

void TDropTarget::AutoScrollTimer(TObject* Sender)
{
    if (!FTarget || !FTarget->HandleAllocated())
        return;
    const bool imageShown = FImageShown;
    if (imageShown)
        ImageList_DragShowNolock(FALSE);
    const HWND window = FTarget->WindowHandle();
    if (FLastPoint.y < FScrollMargin)
        SendMessageA(window, WM_VSCROLL, SB_LINEUP, 0);
    else if (FLastPoint.y > FTarget->ClientHeight() - FScrollMargin)
        SendMessageA(window, WM_VSCROLL, SB_LINEDOWN, 0);
    if (FLastPoint.x < FScrollMargin)
        SendMessageA(window, WM_HSCROLL, SB_LINELEFT, 0);
    else if (FLastPoint.x > FTarget->ClientWidth() - FScrollMargin)
        SendMessageA(window, WM_HSCROLL, SB_LINERIGHT, 0);
    if (imageShown)
        ImageList_DragShowNolock(TRUE);
}

// --- TDropFileTarget ---------------------------------------------------------------------------

std::optional<AnsiString> ExactAnsiName(const std::u16string& wide)
{
    if (wide.empty())
        return AnsiString();
    const auto* text = reinterpret_cast<const wchar_t*>(wide.data());
    const int length = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, length, nullptr, 0, nullptr, &lost);
    if (size <= 0 || lost)
        return std::nullopt;
    AnsiString ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, length, ansi.data(), size, nullptr,
                        &lost);
    if (lost)
        return std::nullopt;
    return ansi;
}

TDropFileTarget::TDropFileTarget(TComponent* AOwner) : TDropTarget(AOwner), ToAnsi(ExactAnsiName)
{
    FReportWindow = AllocateMessageHWnd(TWndMethod(this, &TDropFileTarget::ReportLostNames));
}

TDropFileTarget::~TDropFileTarget()
{
    DeallocateHWnd(FReportWindow);
}

bool TDropFileTarget::OffersFileList()
{
    FORMATETC wanted = GlobalFormat(CF_HDROP);
    return DataObject() && DataObject()->QueryGetData(&wanted) == S_OK;
}

void TDropFileTarget::ForgetDropData()
{
    FFiles.clear();
    FDroppedNameMap.clear();
}

std::optional<TDropNames> TDropFileTarget::ReadNames(CLIPFORMAT format, bool nameMap, bool wide)
{
    TLockedMedium medium(DataObject(), format);
    if (!medium.Locked())
        return std::nullopt;
    TMemoryByteSource bytes = medium.Bytes();
    return nameMap ? ReadDropNameMap(bytes, wide, ToAnsi) : ReadDropFileBlock(bytes, ToAnsi);
}

bool TDropFileTarget::ReadDropData()
{
    ForgetDropData();
    if (!DataObject())
        return false;
    std::optional<TDropNames> dropped = ReadNames(CF_HDROP, false, false);
    if (!dropped)
        return false;
    FFiles = dropped->Names;
    if (!dropped->Lost.empty()) {
        // Shown once the drop is over: a message box inside the drop would
        // hold up the program the files come from.
        FLostToReport = dropped->Lost;
        PostMessageA(FReportWindow, kReportLostMessage, 0, 0);
    }
    std::optional<TDropNames> mapped = ReadNames(DropFormats().FileNameMap, true, false);
    if (!mapped)
        mapped = ReadNames(DropFormats().FileNameMapW, true, true);
    if (mapped && mapped->Count() == dropped->Count() && mapped->Lost.empty())
        FDroppedNameMap = mapped->Names;
    return !FFiles.empty();
}

void TDropFileTarget::ReportLostNames(TMessage& message)
{
    if (message.Msg != kReportLostMessage) {
        DefaultHiddenWindowHandling(FReportWindow, message);
        return;
    }
    const std::vector<std::u16string> lost = std::move(FLostToReport);
    FLostToReport.clear();
    if (lost.empty())
        return;
    const std::u16string report = LostDropNamesReport(lost);
    SeamMessageBoxW(nullptr, WideString(report.begin(), report.end()), kLostCaption,
                    MB_OK | MB_ICONEXCLAMATION);
}
