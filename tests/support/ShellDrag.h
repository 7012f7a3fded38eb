// A drag as the shell starts one, made by a test: a data object that holds
// a CF_HDROP block (and, when given, a name map), and a real OLE drag of it
// onto a window through the system's drag loop.
#pragma once

#include "classlib/Types.h"

#include <ole2.h>
#include <string>
#include <vector>

namespace testing_support {

// The bytes of a CF_HDROP block: the DROPFILES header, then the names,
// each ended by a zero, and an empty name; wide names in UTF-16.
std::string DropFilesBlock(const std::vector<std::u16string>& names, bool wide);

// A data object offering global-memory blocks by clipboard format. Made
// with one reference (the maker's).
class TTestDataObject : public IDataObject
{
public:
    TTestDataObject() = default;
    void Offer(CLIPFORMAT format, std::string bytes);
    // GetData of every format fails (QueryGetData still answers).
    bool FailGetData = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    virtual ~TTestDataObject() = default;
    const std::string* Offered(CLIPFORMAT format) const;

    LONG FRefCount = 1;
    std::vector<std::pair<CLIPFORMAT, std::string>> FOffers;
};

// Drags data with the system's drag loop from over screenPoint and drops
// it there; the drop effect OLE reports.
DWORD DragAndDropAt(IDataObject* data, POINT screenPoint);
// The same with the files at paths (names in ASCII), as the shell drags
// them.
DWORD DropFilesAt(const std::vector<std::string>& paths, POINT screenPoint);

} // namespace testing_support
