// Reference-counted COM objects of our own.
//
//   TInterfacedObject   the reference count: made with one reference (its
//                       maker's), freed when the last one is released; the
//                       count changes atomically, so any thread may hold
//                       references
//   TComObject<I>       IUnknown for an object that implements interface I
//                       (and every interface I derives from that it names
//                       in Supports)
//
// Methods of these objects are called by the system: each catches what it
// raises and answers with an error code instead.
#pragma once

#include <atomic>
#include <objbase.h>

class TInterfacedObject
{
public:
    TInterfacedObject() = default;
    TInterfacedObject(const TInterfacedObject&) = delete;
    TInterfacedObject& operator=(const TInterfacedObject&) = delete;

    ULONG AddReference();
    // Frees the object when the count reaches 0.
    ULONG ReleaseReference();
    LONG ReferenceCount() const { return FRefCount.load(); }

protected:
    // Only ReleaseReference frees the object.
    virtual ~TInterfacedObject() = default;

private:
    std::atomic<LONG> FRefCount{1};
};

template <class I> class TComObject : public I, public TInterfacedObject
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || Supports(riid)) {
            *object = static_cast<I*>(this);
            AddReference();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseReference(); }

protected:
    // Whether the object answers for riid (I and its bases).
    virtual bool Supports(REFIID riid) { return IsEqualIID(riid, __uuidof(I)); }
};
