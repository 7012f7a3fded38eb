// Files dragged from the shell onto a window control, through OLE drag and
// drop.
//
//   TDropTarget      the general target: the effects it accepts, the key
//                    states, scrolling near the edges while dragging, the
//                    shell's drag image, and the events
//   TDropFileTarget  the target that reads the dropped file names (CF_HDROP)
//                    and, when offered, the names they were mapped to
//
// OLE calls the target on the main thread (the one that registered the
// window). Nothing raised inside those calls reaches OLE: the call then
// answers with no effect.
#pragma once

#include "DropFiles.h"
#include "DropSource.h"

#include "classlib/Event.h"
#include "classlib/ShortCut.h"
#include "classlib/Types.h"

#include <commctrl.h>
#include <functional>
#include <optional>
#include <ole2.h>
#include <vector>

class TImageList;
class TTimer;
class TWinControl;

enum class TDragType
{
    dtCopy = 0,
    dtMove = 1,
    dtLink = 2
};
// A set of drag types: bit 0 copy, bit 1 move, bit 2 link.
using TDragTypes = unsigned;
constexpr TDragTypes DragTypesOf(TDragType type)
{
    return 1u << static_cast<int>(type);
}

constexpr int kDropEffectScroll = static_cast<int>(DROPEFFECT_SCROLL);

// Sender, the keys held, the point in the control's client coordinates and
// the effect (the handler may change it).
using TDropTargetEvent = TEvent<TObject*, TShiftState, TPoint, int&>;

class TDropTarget : public TInterfacedComponent, public IDropTarget
{
public:
    explicit TDropTarget(TComponent* AOwner);
    ~TDropTarget() override;

    // Binds the target to control (a control bound before is let go first);
    // raises "Failed to Register " + the control's name when OLE refuses.
    void Register(TWinControl* control);
    // Lets the control go; raises "Failed to Unregister " + its name when
    // OLE refuses, after letting it go.
    void Unregister();
    TWinControl* Target() const { return FTarget; }
    bool TargetActive() const { return FTargetActive; }
    bool ShowImage() const { return FShowImage; }
    void SetShowImage(bool value);

    // The effect of a drag: the offered effects that Dragtypes allows, as
    // OnGetDropEffect or the keys choose, with the scroll bit near an edge
    // of a control that scrolls.
    int AllowedDropEffect(TShiftState shift, TPoint point, int offered);

    TDragTypes Dragtypes = DragTypesOf(TDragType::dtCopy);
    bool GetDataOnEnter = false;
    TDropTargetEvent OnEnter;
    TDropTargetEvent OnDragOver;
    TDropTargetEvent OnDrop;
    TDropTargetEvent OnGetDropEffect;
    TNotifyEvent OnLeave;

    // --- IUnknown, IDropTarget
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point,
                                   DWORD* effect) override;

protected:
    virtual void DoEnter(TShiftState shift, TPoint point, int& effect);
    virtual void FireDragOver(TShiftState shift, TPoint point, int& effect);
    virtual void DoDrop(TShiftState shift, TPoint point, int& effect);
    virtual void DoLeave();
    // Fetches what the target reads from the held data object.
    virtual bool ReadDropData() = 0;
    virtual void ForgetDropData() = 0;
    // Whether the held data object offers what the target reads.
    virtual bool OffersFileList() = 0;
    IDataObject* DataObject() const { return FDataObject; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TPoint ClientPoint(POINTL screen) const;
    void HoldDataObject(IDataObject* data);
    void ReleaseDataObject();
    void ShowDragImage(TPoint point);
    void HideDragImage();
    void AutoScrollTimer(TObject* Sender);
    // Clears the binding and revokes the registration; false when OLE
    // refused the revoke.
    bool LetTargetGo();

    IDataObject* FDataObject = nullptr; // held during a drag
    bool FTargetActive = false;
    TWinControl* FTarget = nullptr; // not owned; free-notified
    TImageList* FImages = nullptr;  // owned: the transparent drag cursor image
    HIMAGELIST FDragImages = nullptr;
    bool FShowImage = true;
    bool FImageShown = false;
    TPoint FImageHotSpot;
    TPoint FLastPoint;
    int FScrollMargin = 0;
    unsigned FScrollFlags = 0;      // bit 0 horizontal scroll bar, bit 1 vertical
    TTimer* FScrollTimer = nullptr; // owned
};

class TDropFileTarget : public TDropTarget
{
public:
    explicit TDropFileTarget(TComponent* AOwner);
    ~TDropFileTarget() override;

    // The names of the last drop, valid inside OnDrop, in the shell's order;
    // names the code page cannot hold are never among them.
    const std::vector<AnsiString>& Files() const { return FFiles; }
    const std::vector<AnsiString>& DroppedNameMap() const { return FDroppedNameMap; }

    // Turns a wide name into the code page's bytes, or none; the system's
    // exact conversion unless set (tests set one).
    TDropNameConverter ToAnsi;

protected:
    bool ReadDropData() override;
    void ForgetDropData() override;
    bool OffersFileList() override;

private:
    // The names of a global-memory medium the data object gives for format.
    std::optional<TDropNames> ReadNames(CLIPFORMAT format, bool nameMap, bool wide);
    void ReportLostNames(TMessage& message);

    std::vector<AnsiString> FFiles;
    std::vector<AnsiString> FDroppedNameMap;
    // The dropped names the code page cannot hold; a message lists them
    // once the drop is over.
    std::vector<std::u16string> FLostToReport;
    HWND FReportWindow = nullptr; // owned: carries the report past the drop
};

// The system's conversion of a wide name into code page 932: none when a
// character has no exact counterpart (no look-alikes, no "?").
std::optional<AnsiString> ExactAnsiName(const std::u16string& wide);
