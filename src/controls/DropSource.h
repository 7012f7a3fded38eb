// What the drop targets share with the rest of the process: a component
// that is also a reference-counted COM object, and the clipboard formats of
// shell drags, registered once for the process.
//
//   TInterfacedComponent  a component with a COM reference count
//   DropFormats           the registered formats, in registration order
//
// OLE itself is initialised by the program's entry (and the test runner)
// on the main thread before the first window; it calls DropFormats then too.
#pragma once

#include "classlib/Object.h"

#include <atomic>
#include <windows.h>

class TInterfacedComponent : public TComponent
{
public:
    using TComponent::TComponent;

    ULONG AddReference();
    // The release that brings the count to 0 frees the object.
    ULONG ReleaseReference();
    LONG ReferenceCount() const { return FRefCount.load(); }

private:
    std::atomic<LONG> FRefCount{0};
};

struct TDropFormats
{
    CLIPFORMAT FileContents;
    CLIPFORMAT FileGroupDescriptor;
    CLIPFORMAT ShellIdList;
    CLIPFORMAT PreferredDropEffect;
    CLIPFORMAT Url;
    CLIPFORMAT FileNameMap;
    CLIPFORMAT FileNameMapW;
};

// Registers the formats on the first call.
const TDropFormats& DropFormats();
