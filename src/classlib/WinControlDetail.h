// Helpers shared by the files that implement TWinControl (WinControl.cpp,
// WinControlAlign.cpp, WinControlPaint.cpp, WinControlKeys.cpp); not for
// other units.
#pragma once

#include "WinControl.h"

namespace wincontrol_detail {

inline bool IsWindowed(const TControl* control)
{
    return dynamic_cast<const TWinControl*>(control) != nullptr;
}

// Sets the flag for the duration of a scope.
class TStateScope
{
public:
    TStateScope(TControlState& state, TControlState flag) : FState(state), FFlag(flag)
    {
        FState |= flag;
    }
    ~TStateScope() { FState &= ~FFlag; }
    TStateScope(const TStateScope&) = delete;
    TStateScope& operator=(const TStateScope&) = delete;

private:
    TControlState& FState; // not owned: the control's state
    TControlState FFlag;
};

} // namespace wincontrol_detail
