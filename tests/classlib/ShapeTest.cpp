// A shape paints its pen's outline and its brush's fill on its parent, and
// again when either changes.
#include "classlib/Graphics.h"
#include "classlib/Panel.h"
#include "classlib/Shape.h"

#include "support/FormFixture.h"

using namespace testing_support;

namespace {

class ShapeTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 100, 100);
        shape = new TShape(form);
        shape->SetParent(panel);
        shape->SetBounds(10, 20, 30, 20);
        form->Show();
        PumpMessages();
    }
    COLORREF PanelPixel(int x, int y)
    {
        UpdateWindow(panel->WindowHandle());
        HDC dc = GetDC(panel->WindowHandle());
        COLORREF pixel = GetPixel(dc, x, y);
        ReleaseDC(panel->WindowHandle(), dc);
        return pixel;
    }

    TPanel* panel = nullptr;
    TShape* shape = nullptr;
};

} // namespace

TEST_F(ShapeTest, PaintsItsOutlineAndFillAndRepaintsOnAChange)
{
    shape->Pen()->SetColor(clBlack);
    shape->Brush()->SetColor(RGB(0, 128, 0));
    EXPECT_EQ(PanelPixel(10, 20), RGB(0, 0, 0));   // top left of the outline
    EXPECT_EQ(PanelPixel(39, 39), RGB(0, 0, 0));   // bottom right, inside the bounds
    EXPECT_EQ(PanelPixel(25, 30), RGB(0, 128, 0)); // the fill
    EXPECT_NE(PanelPixel(41, 30), RGB(0, 0, 0));   // nothing beyond

    shape->Brush()->SetColor(RGB(0x56, 0x34, 0x12));
    EXPECT_EQ(PanelPixel(25, 30), RGB(0x56, 0x34, 0x12));
    shape->Pen()->SetColor(RGB(255, 0, 0));
    shape->Pen()->SetWidth(3);
    // A wide outline stays inside the bounds, on every edge.
    for (POINT edge : {POINT{10, 30}, POINT{12, 30}, POINT{39, 30}, POINT{25, 20}, POINT{25, 39}})
        EXPECT_EQ(PanelPixel(edge.x, edge.y), RGB(255, 0, 0)) << edge.x << "," << edge.y;
    EXPECT_EQ(PanelPixel(25, 30), RGB(0x56, 0x34, 0x12));
}
