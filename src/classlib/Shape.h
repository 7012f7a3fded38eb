// TShape: a rectangle drawn with a pen and filled with a brush, on its
// parent (no window of its own); windows use it as a colour swatch. A
// change of the pen or the brush repaints it.
#pragma once

#include "Control.h"

class TBrush;
class TPen;

class TShape : public TGraphicControl
{
public:
    explicit TShape(TComponent* AOwner);
    ~TShape() override;

    TBrush* Brush() const { return FBrush; }
    TPen* Pen() const { return FPen; }

protected:
    void Paint() override;

private:
    void StyleChanged(TObject* Sender);

    TBrush* FBrush; // owned
    TPen* FPen;     // owned
};
