#include "ShellDrag.h"

#include <cstring>
#include <shlobj.h>

namespace testing_support {

std::string DropFilesBlock(const std::vector<std::u16string>& names, bool wide)
{
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = wide;
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    for (const std::u16string& name : names) {
        for (char16_t c : name) {
            block += static_cast<char>(c & 0xFF);
            if (wide)
                block += static_cast<char>(c >> 8);
        }
        block.append(wide ? 2 : 1, '\0');
    }
    block.append(wide ? 2 : 1, '\0');
    return block;
}

void TTestDataObject::Offer(CLIPFORMAT format, std::string bytes)
{
    FOffers.emplace_back(format, std::move(bytes));
}

const std::string* TTestDataObject::Offered(CLIPFORMAT format) const
{
    for (const auto& [offered, bytes] : FOffers)
        if (offered == format)
            return &bytes;
    return nullptr;
}

HRESULT STDMETHODCALLTYPE TTestDataObject::QueryInterface(REFIID riid, void** object)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TTestDataObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&FRefCount));
}

ULONG STDMETHODCALLTYPE TTestDataObject::Release()
{
    const LONG count = InterlockedDecrement(&FRefCount);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE TTestDataObject::QueryGetData(FORMATETC* format)
{
    return Offered(format->cfFormat) && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
}

HRESULT STDMETHODCALLTYPE TTestDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    const std::string* bytes = Offered(format->cfFormat);
    if (!bytes || FailGetData || !(format->tymed & TYMED_HGLOBAL))
        return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes->size());
    std::memcpy(GlobalLock(memory), bytes->data(), bytes->size());
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
    out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

namespace {

// Drops on the third look at the keys: OLE has entered and dragged over
// the window under the cursor by then.
class TTestDropSource : public IDropSource
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
            *object = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the caller's stack.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override
    {
        if (escape)
            return DRAGDROP_S_CANCEL;
        return ++FLooks >= 3 ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    int FLooks = 0;
};

} // namespace

DWORD DragAndDropAt(IDataObject* data, POINT screenPoint)
{
    SetCursorPos(screenPoint.x, screenPoint.y);
    TTestDropSource source;
    DWORD effect = DROPEFFECT_NONE;
    DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    return effect;
}

DWORD DropFilesAt(const std::vector<std::string>& paths, POINT screenPoint)
{
    std::vector<std::u16string> names;
    for (const std::string& path : paths)
        names.emplace_back(path.begin(), path.end());
    auto* data = new TTestDataObject;
    data->Offer(CF_HDROP, DropFilesBlock(names, true));
    const DWORD effect = DragAndDropAt(data, screenPoint);
    data->Release();
    return effect;
}

} // namespace testing_support
