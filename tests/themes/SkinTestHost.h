// Windows and items for the tests of themed items: a host that shows one
// view of a root item and answers the view type a test gives, themed items
// with traits of a test's choosing, and a viewer measured as its view's
// layout measures it.
#pragma once

#include "themes/Skin.h"

#include "classlib/Form.h"

namespace theme_testing {

// A themed item that opens a popup, with a separate arrow part when split.
class TestSubmenuItem : public TSkinCustomItem
{
public:
    TestSubmenuItem(const AnsiString& caption, bool split);
};

// A child of form at (10, 10), 600 x 300, showing a fresh root item's
// children as a toolbar or a menu; it owns the view and answers viewKind
// when asked its view type.
class ThemedViewHost : public TCustomControl
{
public:
    ThemedViewHost(TCustomForm* form, bool toolbar, DWORD viewKind);
    ~ThemedViewHost() override;

    TBarRootItem* Root() const { return FRoot; }
    TBarView* View() const { return FView; }
    void SetViewKind(DWORD value) { FViewKind = value; }

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;

private:
    TBarRootItem* FRoot; // owned
    TBarView* FView;     // owned
    DWORD FViewKind;
};

// Adds a themed item with a caption to parent.
TSkinCustomItem* AddSkinItem(TBarCustomItem* parent, const AnsiString& caption);
// The size a viewer asks for in its view's font.
SIZE Measure(TBarItemViewer* viewer);
// A text's width (without accelerator marks) and line height in the view's
// font.
SIZE TextSize(TBarView* view, const AnsiString& text);

} // namespace theme_testing
