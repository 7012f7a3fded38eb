// OLE started for the calling thread at its first need, once, and stopped.
#include "classlib/ComObject.h"
#include "classlib/OleStart.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <thread>
#include <vector>

namespace {

class TRefusingDropTarget : public TComObject<IDropTarget>
{
public:
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override
    {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override
    {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override
    {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
};

// Whether a window of the calling thread can become a drop target now.
bool ThreadTakesDropTargets()
{
    HWND window =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    auto* target = new TRefusingDropTarget;
    const bool registered = SUCCEEDED(RegisterDragDrop(window, target));
    if (registered)
        RevokeDragDrop(window);
    DestroyWindow(window);
    target->Release();
    return registered;
}

TEST(OleStart, StartsOnceForTheCallingThreadAndStops)
{
    // A thread of its own: the test runner's thread has OLE already.
    std::vector<bool> takes;
    std::thread([&] {
        takes.push_back(ThreadTakesDropTargets());
        StartOle();
        StartOle();
        takes.push_back(ThreadTakesDropTargets());
        StopOle();
        takes.push_back(ThreadTakesDropTargets());
    }).join();
    EXPECT_EQ(takes, (std::vector<bool>{false, true, false})) << "before, started twice, stopped";
}

} // namespace
