#include "ComObject.h"

ULONG TInterfacedObject::AddReference()
{
    return static_cast<ULONG>(++FRefCount);
}

ULONG TInterfacedObject::ReleaseReference()
{
    LONG count = --FRefCount;
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}
