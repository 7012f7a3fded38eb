#include "Shape.h"

#include "Graphics.h"

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner), FBrush(new TBrush), FPen(new TPen)
{
    SetBounds(Left(), Top(), 65, 65);
    FBrush->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
    FPen->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
}

TShape::~TShape()
{
    delete FPen;
    delete FBrush;
}

void TShape::StyleChanged(TObject* Sender)
{
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Pen()->Assign(FPen);
    canvas->Brush()->Assign(FBrush);
    // A wide solid pen's outline stays inside the bounds.
    if (FPen->Style() == TPenStyle::psSolid)
        canvas->Pen()->SetStyle(TPenStyle::psInsideFrame);
    canvas->Rectangle(0, 0, Width(), Height());
}
