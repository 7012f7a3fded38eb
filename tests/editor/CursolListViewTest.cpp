// The cursor-aware list view: report style from its creation, enter and
// leave from mouse messages sent to its window.
#include "editor/CursolListView.h"

#include "classlib/Form.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

TEST(CursolListViewTest, ReportStyleWithEnterAndLeave)
{
    TForm* form = new TForm(nullptr);
    form->SetBounds(40, 40, 300, 200);
    auto* list = new TCursolListView(form);
    EXPECT_EQ(list->ViewStyle(), TViewStyle::vsReport);
    list->SetBounds(10, 10, 200, 100);
    list->SetParent(form);
    std::vector<std::string> log;
    list->OnMouseEnter = [&](TObject*) { log.push_back("enter"); };
    list->OnMouseLeave = [&](TObject*) { log.push_back("leave"); };
    HWND window = list->Handle();
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(25, 20));
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "leave"}));
    FreeAndNil(form);
    PumpMessages();
}
