#include "BarDriver.h"

#include "classlib/WindowProcedure.h"

namespace testing_support {

namespace {

BOOL CALLBACK CollectPopupWindow(HWND window, LPARAM list)
{
    if (auto* popup = dynamic_cast<TBarPopupWindow*>(FindControl(window)))
        reinterpret_cast<std::vector<TBarPopupWindow*>*>(list)->push_back(popup);
    return TRUE;
}

} // namespace

std::vector<TBarPopupWindow*> ThreadPopupWindows()
{
    std::vector<TBarPopupWindow*> popups;
    EnumThreadWindows(GetCurrentThreadId(), CollectPopupWindow, reinterpret_cast<LPARAM>(&popups));
    return popups;
}

TBarView* StandalonePopupView()
{
    for (TBarPopupWindow* popup : ThreadPopupWindows())
        if (!popup->View()->ParentView() && IsWindowVisible(popup->WindowHandle()))
            return popup->View();
    return nullptr;
}

POINT ScreenCentre(TBarView* view, TBarCustomItem* item)
{
    view->EnsureLayout();
    TRect r = view->Find(item)->BoundsRect();
    TPoint p =
        view->Window()->ClientToScreen(TPoint(r.left + r.Width() / 2, r.top + r.Height() / 2));
    return POINT{p.x, p.y};
}

} // namespace testing_support
