// A table of windows in the states a user meets, each looked at with the
// screen check (ScreenCheck.h): one test runs every row, and each finding
// fails it, naming the row, the control and the rule.
//
// A rule that a row breaks today while its mend is under way elsewhere is a
// known failure: printed, not failed. A known failure that no longer shows
// fails the test, so that its entry goes when the mend lands.
//
// With ZANDREL_SCREENS set to a folder, each row's capture is written there
// as a PNG file named after the row (off by default).
#pragma once

#include "ScreenCheck.h"

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Checks what a window shows now; the row fills in the window and any texts
// a control of it draws itself.
using ScreenLook = std::function<void(ScreenCheckInput input)>;

struct ScreenRow
{
    std::string Name;
    // Brings the window on the screen in the row's state and looks at it.
    std::function<void(const ScreenLook& look)> Show;
    std::vector<ScreenDesign> Design; // what the window places so on purpose
};

struct KnownScreenFailure
{
    std::string Row;
    std::string Rule;
    std::string Control; // empty: every control of the row
    std::string Reason;
};

// Runs the rows in order, afterRow after each.
void RunScreenTable(const std::vector<ScreenRow>& rows,
                    const std::vector<KnownScreenFailure>& known,
                    const std::function<void()>& afterRow);

} // namespace testing_support
