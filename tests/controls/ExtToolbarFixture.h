// A test with a fresh form (100, 100, 500 x 300) holding an extended
// toolbar on a dock at its top; the form is shown by the test's SetUp.
#pragma once

#include "controls/ExtItem.h"
#include "support/FormFixture.h"

namespace testing_support {

class ExtToolbarFixture : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBounds(100, 100, 500, 300);
        dock = new TSkinDock(form);
        dock->SetParent(form);
        dock->SetPosition(TBarDockPosition::dpTop);
        bar = new TExtToolbar(form);
    }
    template <class T> T* AddItem(TBarCustomItem* parent, const wchar_t* caption)
    {
        auto* item = new T(form);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    TSkinDock* dock = nullptr;
    TExtToolbar* bar = nullptr;
};

} // namespace testing_support
