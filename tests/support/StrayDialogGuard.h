// A thread hook that ends any system dialog box ("#32770": a message box,
// a file dialog) that reaches the screen during a test, and fails the test:
// every prompt must go through the seams. Installed once by the test main.
#pragma once

namespace testing_support {

void InstallStrayDialogGuard();
void RemoveStrayDialogGuard();

} // namespace testing_support
