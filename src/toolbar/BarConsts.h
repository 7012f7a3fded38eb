// The toolbar framework's fixed texts, under the resource numbers the
// framework has always given them (65266 to 65272).
#pragma once

// 65266
inline constexpr const char* SBarItemIndexOutOfRange = "Toolbar item index out of range";
// 65267
inline constexpr const char* SBarItemAlreadyInserted = "Toolbar item already inserted";
// 65268
inline constexpr const char* SBarViewerNotFound =
    "An item viewer associated the specified item could not be found";
// 65269: the chevron's caption and hint
inline constexpr const char* SBarChevronHint = "More Buttons|";
// 65270
inline constexpr const char* SBarDockBadParent =
    "A TBarDock control cannot be placed inside a tool window or another TBarDock";
// 65271
inline constexpr const char* SBarDockPositionLocked =
    "Cannot change Position of a TBarDock if it already contains controls";
// 65272
inline constexpr const char* SBarDockedToUnnamed =
    "Cannot save dockable window's position because DockedTo's Name property not set";
