// A test with a fresh form: made before each test, freed after it (and the
// messages its going leaves behind handled).
#pragma once

#include "classlib/Form.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

namespace testing_support {

class FormFixture : public testing::Test
{
protected:
    void SetUp() override { form = new TForm(nullptr); }
    void TearDown() override
    {
        FreeAndNil(form);
        PumpMessages();
    }
    TForm* form = nullptr;
};

} // namespace testing_support
