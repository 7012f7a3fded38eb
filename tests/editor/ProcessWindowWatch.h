// Looking at the processing window from inside a job that the main window
// runs and waits for: the application hands every message it takes to
// OnMessage, and a thread timer keeps messages coming while the job runs
// and while the window waits to be closed.
#pragma once

#include "editor/ql_process.h"

#include <functional>

namespace testing_support {

// The processing window on the screen, or nullptr.
TForm4* FindProcessWindow();

class ProcessWindowWatch
{
public:
    explicit ProcessWindowWatch(std::function<void(TForm4&)> look);
    ~ProcessWindowWatch();
    ProcessWindowWatch(const ProcessWindowWatch&) = delete;
    ProcessWindowWatch& operator=(const ProcessWindowWatch&) = delete;

private:
    std::function<void(TForm4&)> FLook;
    UINT_PTR FTimer = 0;
};

} // namespace testing_support
