// Saving and restoring where a form's named dockable windows are: which
// dock, row and position, the floating place, the visibility and what each
// class keeps besides, through key-value callbacks or an INI file.
#include "BarDock.h"

#include "classlib/AnsiText.h"
#include "classlib/Exceptions.h"
#include "classlib/IniFile.h"
#include "classlib/ScopeExit.h"

namespace {

TBarCustomDockableWindow* NamedDockableWindow(TComponent* component)
{
    auto* window = dynamic_cast<TBarCustomDockableWindow*>(component);
    return window && !window->Name().empty() ? window : nullptr;
}

// The owner's dock of that name, compared without regard to case.
TBarDock* DockByName(TComponent* owner, const AnsiString& name)
{
    if (name.empty())
        return nullptr;
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        auto* dock = dynamic_cast<TBarDock*>(owner->Components(i));
        if (dock && SameText(dock->Name(), name))
            return dock;
    }
    return nullptr;
}

// "+" for a floating window, its dock's Name in a draggable dock, "" in a
// dock without dragging. False for a window neither floating nor docked.
bool DockedToText(TBarCustomDockableWindow* window, AnsiString& text)
{
    if (window->Floating()) {
        text = kBarFloatingMark;
        return true;
    }
    TBarDock* dock = window->CurrentDock();
    if (!dock)
        return false;
    text = dock->AllowDrag() ? dock->Name() : AnsiString();
    if (dock->AllowDrag() && text.empty())
        throw EInvalidOperation(
            "Cannot save dockable window's position because DockedTo's Name property not set");
    return true;
}

void ApplyStoredPlace(TBarCustomDockableWindow* window, const TBarStoredPlace& place,
                      TBarDock* dock, TComponent* owner, TBarPlaceReadIntProc readInt,
                      TBarPlaceReadStringProc readString, void* extraData)
{
    // A window that is on no form yet has nowhere to float from.
    if (!dock && !window->TopForm())
        return;
    window->SetDockRow(place.DockRow);
    window->SetDockPos(place.DockPos);
    window->LoadExtraPlace(readInt, readString, extraData);
    window->SetFloatOrigin(TPoint(place.FloatLeft, place.FloatTop));
    if (dock) {
        window->SetCurrentDock(dock);
    } else {
        window->SetFloating(true);
        window->KeepOnMonitor(true);
    }
    if (window->UseLastDock())
        window->SetLastDock(
            DockByName(owner, readString(window->Name(), "LastDock", "", extraData)));
    window->Arrange();
}

// The owner's docks, in component order.
std::vector<TBarDock*> OwnerDocks(TComponent* owner)
{
    std::vector<TBarDock*> docks;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto* dock = dynamic_cast<TBarDock*>(owner->Components(i)))
            docks.push_back(dock);
    return docks;
}

// Holds the owner's docks in BeginUpdate until it goes, however it goes.
class TDockArrangeHold
{
public:
    explicit TDockArrangeHold(TComponent* owner) : FDocks(OwnerDocks(owner))
    {
        for (TBarDock* dock : FDocks)
            dock->BeginUpdate();
    }
    ~TDockArrangeHold()
    {
        for (TBarDock* dock : FDocks)
            dock->EndUpdate();
    }
    TDockArrangeHold(const TDockArrangeHold&) = delete;
    TDockArrangeHold& operator=(const TDockArrangeHold&) = delete;

private:
    std::vector<TBarDock*> FDocks;
};

// --- The INI callbacks

TIniReadWriteData& IniData(void* extraData)
{
    return *static_cast<TIniReadWriteData*>(extraData);
}

int IniReadInt(const AnsiString& toolbarName, const AnsiString& value, int def, void* extraData)
{
    TIniReadWriteData& data = IniData(extraData);
    return data.IniFile->ReadInteger(data.SectionNamePrefix + toolbarName, value, def);
}

AnsiString IniReadString(const AnsiString& toolbarName, const AnsiString& value,
                         const AnsiString& def, void* extraData)
{
    TIniReadWriteData& data = IniData(extraData);
    return data.IniFile->ReadString(data.SectionNamePrefix + toolbarName, value, def);
}

void IniWriteInt(const AnsiString& toolbarName, const AnsiString& value, int written,
                 void* extraData)
{
    TIniReadWriteData& data = IniData(extraData);
    data.IniFile->WriteInteger(data.SectionNamePrefix + toolbarName, value, written);
}

void IniWriteString(const AnsiString& toolbarName, const AnsiString& value,
                    const AnsiString& written, void* extraData)
{
    TIniReadWriteData& data = IniData(extraData);
    data.IniFile->WriteString(data.SectionNamePrefix + toolbarName, value, written);
}

} // namespace

void BarWritePlacesVia(TComponent* OwnerComponent, TBarPlaceWriteIntProc WriteIntProc,
                       TBarPlaceWriteStringProc WriteStringProc, void* ExtraData)
{
    for (int i = 0; i < OwnerComponent->ComponentCount(); ++i) {
        TBarCustomDockableWindow* window = NamedDockableWindow(OwnerComponent->Components(i));
        AnsiString dockedTo;
        if (!window || !DockedToText(window, dockedTo))
            continue;
        const AnsiString& name = window->Name();
        const AnsiString lastDock = window->LastDock() ? window->LastDock()->Name() : AnsiString();
        WriteIntProc(name, "Rev", kBarPlaceRevision, ExtraData);
        WriteIntProc(name, "Visible", window->Visible() ? 1 : 0, ExtraData);
        WriteStringProc(name, "DockedTo", dockedTo, ExtraData);
        WriteStringProc(name, "LastDock", lastDock, ExtraData);
        WriteIntProc(name, "DockRow", window->DockRow(), ExtraData);
        WriteIntProc(name, "DockPos", window->DockPos(), ExtraData);
        WriteIntProc(name, "FloatLeft", window->FloatOrigin().x, ExtraData);
        WriteIntProc(name, "FloatTop", window->FloatOrigin().y, ExtraData);
        window->SaveExtraPlace(WriteIntProc, WriteStringProc, ExtraData);
    }
}

void BarReadPlacesVia(TComponent* OwnerComponent, TBarPlaceReadIntProc ReadIntProc,
                      TBarPlaceReadStringProc ReadStringProc, void* ExtraData)
{
    TDockArrangeHold hold(OwnerComponent);
    const std::vector<TBarDock*> docks = OwnerDocks(OwnerComponent);
    std::vector<TBarDockChoice> choices;
    for (TBarDock* dock : docks)
        choices.push_back({dock->Name(), dock->AllowDrag()});
    for (int i = 0; i < OwnerComponent->ComponentCount(); ++i) {
        TBarCustomDockableWindow* window = NamedDockableWindow(OwnerComponent->Components(i));
        if (!window)
            continue;
        const std::optional<TBarStoredPlace> place =
            BarReadStoredPlace(window->Name(), ReadIntProc, ReadStringProc, ExtraData,
                               {window->Visible(), window->DockRow(), window->DockPos()}, choices);
        if (!place)
            continue;
        window->SetVisible(place->Visible);
        if (place->Where == TBarStoredWhere::Stay)
            continue;
        TBarDock* dock = place->Where == TBarStoredWhere::Docked ? docks[place->Dock] : nullptr;
        ApplyStoredPlace(window, *place, dock, OwnerComponent, ReadIntProc, ReadStringProc,
                         ExtraData);
    }
}

void BarWritePlacesToIni(TComponent* OwnerComponent, const AnsiString& IniFilename,
                         const AnsiString& SectionNamePrefix)
{
    TScopedFree<TIniFile> ini(new TIniFile(IniFilename));
    TIniReadWriteData data{ini.Get(), SectionNamePrefix};
    // The windows written before a failure stay written.
    TScopeExit saved([&ini] { ini->UpdateFile(); });
    BarWritePlacesVia(OwnerComponent, IniWriteInt, IniWriteString, &data);
}

void BarReadPlacesFromIni(TComponent* OwnerComponent, const AnsiString& IniFilename,
                          const AnsiString& SectionNamePrefix)
{
    TScopedFree<TIniFile> ini(new TIniFile(IniFilename));
    TIniReadWriteData data{ini.Get(), SectionNamePrefix};
    BarReadPlacesVia(OwnerComponent, IniReadInt, IniReadString, &data);
}
