// A component through which a form sets the toolbar theme and the two
// system parameters of the theme layer: the theme by name, visual styles on
// or off, and the flat-menu style. It tells OnThemeChange of every step of
// every theme change (three per change).
#pragma once

#include "Skin.h"

enum class TFlatMenuStyle : BYTE
{
    fmsAuto = kFlatMenusFollowSystem,
    fmsDisable = kFlatMenusNever,
    fmsEnable = kFlatMenusAlways,
};

class TSkinSwitcher : public TComponent
{
public:
    explicit TSkinSwitcher(TComponent* AOwner);
    ~TSkinSwitcher() override;

    // The current theme's name; a name not registered changes nothing.
    AnsiString Theme() const { return CurrentThemeName(); }
    void SetTheme(const AnsiString& value) { SwitchTheme(value); }
    bool EnableXPStyles() const;
    void SetEnableXPStyles(bool value);
    TFlatMenuStyle FlatMenuStyle() const;
    void SetFlatMenuStyle(TFlatMenuStyle value);

    void Dispatch(TMessage& message) override;

    TNotifyEvent OnThemeChange;
};

// The switchers alive now.
int SkinSwitcherCount();
