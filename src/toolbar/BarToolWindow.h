// A dockable window that holds ordinary controls in a client area kept
// between a minimum and a maximum size.
#pragma once

#include "BarDock.h"

class TBarToolWindow : public TBarCustomDockableWindow
{
public:
    // 32 x 32 pixels.
    explicit TBarToolWindow(TComponent* AOwner);

    // Client limits, pixels; a maximum of 0 is none.
    int MinClientWidth() const { return FMinClientWidth; }
    void SetMinClientWidth(int value) { FMinClientWidth = value; }
    int MinClientHeight() const { return FMinClientHeight; }
    void SetMinClientHeight(int value) { FMinClientHeight = value; }
    int MaxClientWidth() const { return FMaxClientWidth; }
    void SetMaxClientWidth(int value) { FMaxClientWidth = value; }
    int MaxClientHeight() const { return FMaxClientHeight; }
    void SetMaxClientHeight(int value) { FMaxClientHeight = value; }
    // The client size the window asks for wherever it goes.
    int WantedClientWidth() const { return FWantedClientWidth; }
    int WantedClientHeight() const { return FWantedClientHeight; }
    // The client size (the whole size while unparented); setting it adds
    // the non-client size.
    int ClientAreaWidth();
    void SetClientAreaWidth(int value);
    int ClientAreaHeight();
    void SetClientAreaHeight(int value);

    void LayOutContent(bool CanMoveControls, TBarHostKind DockType, bool Floating, TBarDock* Dock,
                       TPoint& NewSize) override;
    void NaturalSize(TPoint& Size) override;
    void SizeLimits(int& MinClientWidth, int& MinClientHeight, int& MaxClientWidth,
                    int& MaxClientHeight) override;
    void SizeAboutToChange(int Width, int Height) override;
    void LoadExtraPlace(TBarPlaceReadIntProc ReadIntProc, TBarPlaceReadStringProc ReadStringProc,
                        void* ExtraData) override;
    void SaveExtraPlace(TBarPlaceWriteIntProc WriteIntProc,
                        TBarPlaceWriteStringProc WriteStringProc, void* ExtraData) override;

private:
    int FMinClientWidth = 32;
    int FMinClientHeight = 32;
    int FMaxClientWidth = 0;
    int FMaxClientHeight = 0;
    int FWantedClientHeight = 0;
    int FWantedClientWidth = 0;
};
