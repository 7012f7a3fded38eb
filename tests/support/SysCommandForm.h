// A form that writes down the system commands it gets instead of running
// them (sizing and moving commands would start modal loops, closing would
// free the form), and a test fixture with a fresh one.
#pragma once

#include "classlib/Form.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <vector>

namespace testing_support {

class TSysCommandForm : public TForm
{
public:
    using TForm::TForm;
    std::vector<WPARAM> commands; // WM_SYSCOMMAND's WParam, in order
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_SYSCOMMAND) {
            commands.push_back(message.WParam);
            return;
        }
        TForm::WndProc(message);
    }
};

// A fresh TSysCommandForm at (100, 100), 400 x 250, not yet shown.
class SysCommandFormFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        form = new TSysCommandForm(nullptr);
        form->SetBounds(100, 100, 400, 250);
    }
    void TearDown() override
    {
        FreeAndNil(form);
        PumpMessages();
    }
    TSysCommandForm* form = nullptr;
};

} // namespace testing_support
