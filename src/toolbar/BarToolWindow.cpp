#include "BarToolWindow.h"

#include <algorithm>

namespace {

// A stored client length kept within the window's limits (a maximum of 0
// is none), so a broken settings file cannot give a window no size.
int WithinLimits(int value, int minimum, int maximum)
{
    value = std::max(value, minimum);
    return maximum > 0 ? std::min(value, maximum) : value;
}

} // namespace

TBarToolWindow::TBarToolWindow(TComponent* AOwner) : TBarCustomDockableWindow(AOwner)
{
    SetBounds(Left(), Top(), 32, 32);
}

int TBarToolWindow::ClientAreaWidth()
{
    return Parent() ? ClientWidth() : Width();
}

void TBarToolWindow::SetClientAreaWidth(int value)
{
    SetBounds(Left(), Top(), Width() - ClientAreaWidth() + value, Height());
}

int TBarToolWindow::ClientAreaHeight()
{
    return Parent() ? ClientHeight() : Height();
}

void TBarToolWindow::SetClientAreaHeight(int value)
{
    SetBounds(Left(), Top(), Width(), Height() - ClientAreaHeight() + value);
}

void TBarToolWindow::LayOutContent(bool, TBarHostKind DockType, bool, TBarDock* Dock,
                                   TPoint& NewSize)
{
    NewSize = TPoint(FWantedClientWidth, FWantedClientHeight);
    if (!Dock || (DockType != TBarHostKind::hkHorzDock && DockType != TBarHostKind::hkVertDock))
        return;
    const bool leftRight = DockType == TBarHostKind::hkVertDock;
    LONG& along = leftRight ? NewSize.y : NewSize.x;
    if (FullSize()) {
        const TBarDockedFrame frame = DockedFrameIn(Dock);
        along = leftRight ? Dock->ClientHeight() - frame.TopLeft.y - frame.BottomRight.y
                          : Dock->ClientWidth() - frame.TopLeft.x - frame.BottomRight.x;
    } else if (Stretch()) {
        along = leftRight ? FMinClientHeight : FMinClientWidth;
    }
}

void TBarToolWindow::NaturalSize(TPoint& Size)
{
    LayOutContent(false, DockType(), Floating(), CurrentDock(), Size);
}

void TBarToolWindow::SizeLimits(int& MinClientWidth, int& MinClientHeight, int& MaxClientWidth,
                                int& MaxClientHeight)
{
    MinClientWidth = FMinClientWidth;
    MinClientHeight = FMinClientHeight;
    MaxClientWidth = FMaxClientWidth;
    MaxClientHeight = FMaxClientHeight;
}

void TBarToolWindow::SizeAboutToChange(int Width, int Height)
{
    FWantedClientWidth = Width + ClientAreaWidth() - this->Width();
    FWantedClientHeight = Height + ClientAreaHeight() - this->Height();
}

void TBarToolWindow::LoadExtraPlace(TBarPlaceReadIntProc ReadIntProc, TBarPlaceReadStringProc,
                                    void* ExtraData)
{
    if (!Resizable())
        return;
    const int height = ReadIntProc(Name(), "ClientHeight", ClientAreaHeight(), ExtraData);
    const int width = ReadIntProc(Name(), "ClientWidth", ClientAreaWidth(), ExtraData);
    SetClientAreaWidth(WithinLimits(width, FMinClientWidth, FMaxClientWidth));
    SetClientAreaHeight(WithinLimits(height, FMinClientHeight, FMaxClientHeight));
}

void TBarToolWindow::SaveExtraPlace(TBarPlaceWriteIntProc WriteIntProc, TBarPlaceWriteStringProc,
                                    void* ExtraData)
{
    WriteIntProc(Name(), "ClientWidth", ClientAreaWidth(), ExtraData);
    WriteIntProc(Name(), "ClientHeight", ClientAreaHeight(), ExtraData);
}
