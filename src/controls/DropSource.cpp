#include "DropSource.h"

ULONG TInterfacedComponent::AddReference()
{
    return static_cast<ULONG>(++FRefCount);
}

ULONG TInterfacedComponent::ReleaseReference()
{
    const LONG count = --FRefCount;
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

const TDropFormats& DropFormats()
{
    static const TDropFormats formats = [] {
        auto format = [](const char* name) {
            return static_cast<CLIPFORMAT>(RegisterClipboardFormatA(name));
        };
        TDropFormats made;
        made.FileContents = format("FileContents");
        made.FileGroupDescriptor = format("FileGroupDescriptor");
        made.ShellIdList = format("Shell IDList Array");
        made.PreferredDropEffect = format("Preferred DropEffect");
        made.Url = format("UniformResourceLocator");
        made.FileNameMap = format("FileNameMap");
        made.FileNameMapW = format("FileNameMapW");
        return made;
    }();
    return formats;
}
