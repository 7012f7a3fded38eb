// Finding the toolkit's menus on the screen: the popup windows a menu loop
// shows and the places of their items, for tests that click them as a
// hand does.
#pragma once

#include "toolbar/BarItem.h"

#include <vector>
#include <windows.h>

namespace testing_support {

// Every popup window of the thread, shown or not.
std::vector<TBarPopupWindow*> ThreadPopupWindows();
// The view of the shown popup that stands alone (none open: null).
TBarView* StandalonePopupView();
// The centre of item's viewer in view, in screen coordinates.
POINT ScreenCentre(TBarView* view, TBarCustomItem* item);

} // namespace testing_support
