#include "ThresholdLink.h"

#include "classlib/ScopeExit.h"
#include "editor/LevelDetect.h"

#include <cstring>

namespace {

constexpr TColor kThresholdBarColor = 128;

constexpr char kThresholdCtrlC = 3;
constexpr char kThresholdCtrlV = 22;
constexpr char kThresholdCtrlX = 24;

bool ThresholdCharAccepted(char key)
{
    return (key != 0 && std::strchr("0123456789.-", key)) || key == VK_BACK ||
           key == kThresholdCtrlC || key == kThresholdCtrlV || key == kThresholdCtrlX;
}

} // namespace

TSeekBar2* MakeThresholdBar(TComponent* owner, TWinControl* parent)
{
    auto* bar = new TSeekBar2(owner);
    bar->SetParent(parent);
    bar->SetAlign(TAlign::alClient);
    bar->SetBarColor(kThresholdBarColor);
    bar->SetMaxvalue(kThresholdMaxLevel);
    return bar;
}

TThresholdLink::TThresholdLink(TNumEdit* edit, TSeekBar2* bar) : FEdit(edit), FBar(bar)
{
    FEdit->OnChange = TNotifyEvent(this, &TThresholdLink::EditChange);
    FEdit->OnKeyPress = TKeyPressEvent(this, &TThresholdLink::EditKeyPress);
    FBar->OnValueChange = TValueChangeEvent(this, &TThresholdLink::BarValueChange);
}

TThresholdLink::~TThresholdLink()
{
    FEdit->OnChange.Clear();
    FEdit->OnKeyPress.Clear();
    FBar->OnValueChange.Clear();
}

void TThresholdLink::SetLevel(int level)
{
    FBar->SetValue(level);
    WriteText();
}

void TThresholdLink::WriteText()
{
    FWriting = true;
    TScopeExit written([this] { FWriting = false; });
    FEdit->SetText(LevelToDbText(FBar->Value(), FBar->Maxvalue()));
}

void TThresholdLink::EditChange(TObject* Sender)
{
    if (FWriting)
        return;
    if (const auto level = DbTextToLevel(FEdit->Text(), FBar->Maxvalue()))
        FBar->SetValue(*level);
}

void TThresholdLink::EditKeyPress(TObject* Sender, char& Key)
{
    if (!ThresholdCharAccepted(Key))
        Key = 0;
}

void TThresholdLink::BarValueChange(TObject* Sender, int NewValue, bool& EnableChange)
{
    EnableChange = true;
    FBar->SetValue(NewValue);
    WriteText();
}
