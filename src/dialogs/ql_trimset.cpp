#include "ql_trimset.h"

namespace {

// Design sizes, pixels.
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 160;
constexpr int kMargin = 8;
constexpr int kRowHeight = 26;
constexpr int kLabelWidth = 130;
constexpr int kEditLeft = kMargin + kLabelWidth;
constexpr int kEditWidth = 70;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 25;

void TrimSetLabel(TComponent* owner, TWinControl* parent, const char* caption, int left, int top,
                  int width = kLabelWidth)
{
    TExtLabel* label = MakeChildControl<TExtLabel>(owner, parent, "");
    label->SetCaption(caption);
    label->SetBounds(left, top + 3, width, 16);
}

TNumSpinEdit* TrimSetTimeEdit(TComponent* owner, TWinControl* parent, const char* name, int top)
{
    TNumSpinEdit* edit = MakeChildControl<TNumSpinEdit>(owner, parent, name);
    edit->SetBounds(kEditLeft, top, kEditWidth, 22);
    edit->SetOptions(eoAllowFloat); // digits and "." only
    edit->SetPrecision(0);
    return edit;
}

TFlatButton* TrimSetButton(TComponent* owner, TWinControl* parent, const char* name,
                           const char* caption, int left)
{
    TFlatButton* button = MakeChildControl<TFlatButton>(owner, parent, name);
    button->SetCaption(caption);
    button->SetBounds(left, kClientHeight - kMargin - kButtonHeight, kButtonWidth, kButtonHeight);
    return button;
}

} // namespace

TForm8::TForm8(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form8");
    SetCaption("トリム設定");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    CreateControls();
    FThreshold = std::make_unique<TThresholdLink>(dbEd, FSeekBar);
    FThreshold->SetLevel(kThresholdMaxLevel);
    FinishLoading();
}

void TForm8::CreateControls()
{
    int top = kMargin;
    TrimSetLabel(this, this, "スレッショルド", kMargin, top);
    dbEd = MakeChildControl<TNumEdit>(this, this, "dbEd");
    dbEd->SetBounds(kEditLeft, top, kEditWidth, 22);
    TrimSetLabel(this, this, "dB", kEditLeft + kEditWidth + 6, top, 30);
    top += kRowHeight;
    SkinAlignmentPanel1 = MakeChildControl<TSkinAlignmentPanel>(this, this, "SkinAlignmentPanel1");
    SkinAlignmentPanel1->SetBounds(kMargin, top, kClientWidth - 2 * kMargin, 20);
    FSeekBar = MakeThresholdBar(this, SkinAlignmentPanel1);
    top += kRowHeight;
    TrimSetLabel(this, this, "リージョン前の余白", kMargin, top);
    PreEd = TrimSetTimeEdit(this, this, "PreEd", top);
    TrimSetLabel(this, this, "ms", kEditLeft + kEditWidth + 6, top, 30);
    top += kRowHeight;
    TrimSetLabel(this, this, "リージョン後の余白", kMargin, top);
    PostEd = TrimSetTimeEdit(this, this, "PostEd", top);
    TrimSetLabel(this, this, "ms", kEditLeft + kEditWidth + 6, top, 30);

    OKBtn = TrimSetButton(this, this, "OKBtn", "&OK", kClientWidth - 2 * (kButtonWidth + kMargin));
    OKBtn->SetDefault(true);
    OKBtn->OnClick = TNotifyEvent(this, &TForm8::OKBtnClick);
    CancelBtn =
        TrimSetButton(this, this, "CancelBtn", "&Cancel", kClientWidth - kButtonWidth - kMargin);
    CancelBtn->SetCancel(true);
    CancelBtn->OnClick = TNotifyEvent(this, &TForm8::CancelBtnClick);
}

void TForm8::OKBtnClick(TObject* Sender)
{
    FOkResult = true;
    Close();
}

void TForm8::CancelBtnClick(TObject* Sender)
{
    Close();
}
