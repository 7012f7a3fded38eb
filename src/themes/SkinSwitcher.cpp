#include "SkinSwitcher.h"

namespace {

constexpr int kFlatMenuParam = 1;
constexpr int kVisualStylesParam = 2;
constexpr int kVisualStylesOn = 0;
constexpr int kVisualStylesOff = 2;

int gSwitchers = 0;

} // namespace

int SkinSwitcherCount()
{
    return gSwitchers;
}

TSkinSwitcher::TSkinSwitcher(TComponent* AOwner) : TComponent(AOwner)
{
    ++gSwitchers;
    ListenThemeChanges(this);
}

TSkinSwitcher::~TSkinSwitcher()
{
    UnlistenThemeChanges(this);
    --gSwitchers;
    // A form being designed leaves no theme of its own behind.
    if (gSwitchers == 0 && HasState(csDesigning))
        SwitchTheme("Default");
}

bool TSkinSwitcher::EnableXPStyles() const
{
    return ThemeSystemParam(kVisualStylesParam) == kVisualStylesOn;
}

void TSkinSwitcher::SetEnableXPStyles(bool value)
{
    SetSkinSysParam(kVisualStylesParam, value ? kVisualStylesOn : kVisualStylesOff);
}

TFlatMenuStyle TSkinSwitcher::FlatMenuStyle() const
{
    return static_cast<TFlatMenuStyle>(ThemeSystemParam(kFlatMenuParam));
}

void TSkinSwitcher::SetFlatMenuStyle(TFlatMenuStyle value)
{
    SetSkinSysParam(kFlatMenuParam, static_cast<int>(value));
}

void TSkinSwitcher::Dispatch(TMessage& message)
{
    if (message.Msg == WM_SKIN_THEMECHANGE) {
        if (OnThemeChange)
            OnThemeChange(this);
        return;
    }
    TComponent::Dispatch(message);
}
