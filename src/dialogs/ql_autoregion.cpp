#include "ql_autoregion.h"

#include "AutoRegionPreview.h"

#include "editor/ViewGeometry.h"

#include "classlib/Screen.h"
#include "classlib/ShortCut.h"
#include "classlib/TextUtils.h"

namespace {

// Design sizes, pixels.
constexpr int kClientWidth = 476;
constexpr int kClientHeight = 346;
constexpr int kMargin = 8;
constexpr int kImageHeight = 60;
constexpr int kGroupTop = kMargin + kImageHeight + kMargin;
constexpr int kSettingWidth = 290;
constexpr int kRowHeight = 26;
constexpr int kLabelWidth = 148;
constexpr int kEditLeft = 8 + kLabelWidth;
constexpr int kEditWidth = 70;
// The longest button caption ("リージョンリストに追加(&O)", 150 px in the
// system font) with the button's margins; the type group is as wide.
constexpr int kButtonWidth = 162;
constexpr int kButtonHeight = 26;

// An orange the regions paint over the background: red 255, green 153.
constexpr TColor kAutoRegionOrange = 0x0099FF;

TExtLabel* AutoRegionLabel(TComponent* owner, TWinControl* parent, const char* name,
                           const char* caption, int left, int top, int width = kLabelWidth)
{
    TExtLabel* label = MakeChildControl<TExtLabel>(owner, parent, name);
    label->SetCaption(caption);
    label->SetBounds(left, top + 3, width, 16);
    return label;
}

TNumSpinEdit* AutoRegionTimeEdit(TComponent* owner, TWinControl* parent, const char* name,
                                 int value, int top)
{
    TNumSpinEdit* edit = MakeChildControl<TNumSpinEdit>(owner, parent, name);
    edit->SetBounds(kEditLeft, top, kEditWidth, 22);
    edit->SetOptions(eoAllowFloat); // digits and "." only
    edit->SetPrecision(0);
    edit->SetValue(value);
    return edit;
}

TFlatButton* AutoRegionButton(TComponent* owner, TWinControl* parent, const char* name,
                              const char* caption, int top)
{
    TFlatButton* button = MakeChildControl<TFlatButton>(owner, parent, name);
    button->SetCaption(caption);
    button->SetBounds(kClientWidth - kMargin - kButtonWidth, top, kButtonWidth, kButtonHeight);
    return button;
}

// Every pixel of column x that has the background colour turns orange.
void AutoRegionPaintColumn(TBitmap& bitmap, int x, TColor back)
{
    for (int y = 0; y < bitmap.Height(); ++y) {
        auto* pixel = static_cast<std::uint8_t*>(bitmap.ScanLine(y)) + 3 * x;
        if (MakeColor(pixel[2], pixel[1], pixel[0]) == back) {
            pixel[0] = (kAutoRegionOrange >> 16) & 0xFF;
            pixel[1] = (kAutoRegionOrange >> 8) & 0xFF;
            pixel[2] = kAutoRegionOrange & 0xFF;
        }
    }
}

// Disables buttons while a detection runs; they come back however it ends.
class TAutoRegionRunScope
{
public:
    explicit TAutoRegionRunScope(std::initializer_list<TFlatButton*> buttons) : FButtons(buttons)
    {
        for (TFlatButton* button : FButtons)
            button->SetEnabled(false);
    }
    ~TAutoRegionRunScope()
    {
        for (TFlatButton* button : FButtons)
            button->SetEnabled(true);
    }
    TAutoRegionRunScope(const TAutoRegionRunScope&) = delete;
    TAutoRegionRunScope& operator=(const TAutoRegionRunScope&) = delete;

private:
    std::vector<TFlatButton*> FButtons; // not owned
};

} // namespace

// --- Construction --------------------------------------------------------------------------

TForm5::TForm5(TComponent* AOwner, const TAutoRegionSource& source) : TForm(AOwner), FSource(source)
{
    SetName("Form5");
    SetCaption(AutoRegionText::Caption);
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);

    AutoImage = MakeChildControl<TCursolImage>(this, this, "AutoImage");
    AutoImage->SetBounds(kMargin, kMargin, kClientWidth - 2 * kMargin, kImageHeight);
    AutoImage->SetStretch(true);
    CreateSettingGroup();
    FThreshold = std::make_unique<TThresholdLink>(dbEd, FSeekBar);
    CreateTypeGroup();
    CreateButtons();
    FThreshold->SetLevel(kThresholdMaxLevel);
    FinishLoading();
    CopyOverview();
}

void TForm5::CreateSettingGroup()
{
    SettingGroup = MakeChildControl<TExtGroupBox>(this, this, "SettingGroup");
    SettingGroup->SetCaption("設定");
    SettingGroup->SetBounds(kMargin, kGroupTop, kSettingWidth, kClientHeight - kGroupTop - kMargin);

    int top = 20;
    AutoRegionLabel(this, SettingGroup, "Label1", "スレッショルド", 8, top);
    dbEd = MakeChildControl<TNumEdit>(this, SettingGroup, "dbEd");
    dbEd->SetBounds(kEditLeft, top, kEditWidth, 22);
    AutoRegionLabel(this, SettingGroup, "Label2", "dB", kEditLeft + kEditWidth + 6, top, 30);
    top += kRowHeight;
    SkinAlignmentPanel1 =
        MakeChildControl<TSkinAlignmentPanel>(this, SettingGroup, "SkinAlignmentPanel1");
    SkinAlignmentPanel1->SetBounds(8, top, kSettingWidth - 16, 20);
    FSeekBar = MakeThresholdBar(this, SkinAlignmentPanel1);
    top += kRowHeight;

    struct TTimeRow
    {
        TNumSpinEdit* TForm5::*Edit;
        TExtLabel* TForm5::*Label;
        const char* EditName;
        const char* LabelName;
        const char* Caption;
        int Value;
    };
    const TTimeRow rows[] = {
        {&TForm5::PreEd, &TForm5::Lb1, "PreEd", "Lb1", "リージョン前の余白", 0},
        {&TForm5::PostEd, &TForm5::Lb2, "PostEd", "Lb2", "リージョン後の余白", 0},
        {&TForm5::MinLengthEd, &TForm5::Lb3, "MinLengthEd", "Lb3", "リージョンの最小時間", 200},
        {&TForm5::MinIntervalEd, &TForm5::Lb4, "MinIntervalEd", "Lb4",
         AutoRegionText::IntervalInitial, 5},
    };
    for (const TTimeRow& row : rows) {
        this->*row.Label = AutoRegionLabel(this, SettingGroup, row.LabelName, row.Caption, 8, top);
        this->*row.Edit = AutoRegionTimeEdit(this, SettingGroup, row.EditName, row.Value, top);
        TExtLabel* unit =
            AutoRegionLabel(this, SettingGroup, "", "ms", kEditLeft + kEditWidth + 6, top, 30);
        FTimeControls.insert(FTimeControls.end(), {this->*row.Label, this->*row.Edit, unit});
        top += kRowHeight;
    }

    AutoRegionLabel(this, SettingGroup, "Label3", "検出リージョン数", 8, top);
    CountLb = AutoRegionLabel(this, SettingGroup, "CountLb", AutoRegionText::NoCount, kEditLeft,
                              top, 100);
    top += kRowHeight;
    DivCheck = MakeChildControl<TExtCheckBox>(this, SettingGroup, "DivCheck");
    DivCheck->SetCaption("カットポイントのみ反映させる");
    DivCheck->SetBounds(8, top, kSettingWidth - 16, 20);
    DivCheck->SetChecked(true);
    DivCheck->SetEnabled(false);
}

void TForm5::CreateTypeGroup()
{
    TypeGroup = MakeChildControl<TExtGroupBox>(this, this, "TypeGroup");
    TypeGroup->SetCaption("リージョン検出タイプ");
    TypeGroup->SetBounds(kClientWidth - kMargin - kButtonWidth, kGroupTop, kButtonWidth, 96);
    struct TTypeEntry
    {
        TExtRadioButton* TForm5::*Field;
        const char* Name;
        const char* Caption;
    };
    const TTypeEntry types[] = {
        {&TForm5::TypeRd1, "TypeRd1", "ストリップサイレンス"},
        {&TForm5::TypeRd3, "TypeRd3", "サーチサイレンス"},
        {&TForm5::TypeRd2, "TypeRd2", "カットポイント"},
    };
    int top = 20;
    for (const TTypeEntry& type : types) {
        TExtRadioButton* button = MakeChildControl<TExtRadioButton>(this, TypeGroup, type.Name);
        button->SetCaption(type.Caption);
        button->SetBounds(8, top, kButtonWidth - 16, 20);
        this->*type.Field = button;
        top += 24;
    }
    // As the window is described: strip silence, its controls as they are.
    TypeRd1->SetChecked(true);
    for (TExtRadioButton* button : {TypeRd1, TypeRd2, TypeRd3})
        button->OnClick = TNotifyEvent(this, &TForm5::TypeRd1Click);
}

void TForm5::CreateButtons()
{
    const int bottom = kClientHeight - kMargin;
    ExecBtn = AutoRegionButton(this, this, "ExecBtn", "オートリージョン実行(&G)",
                               bottom - 3 * kButtonHeight - 2 * kMargin);
    ExecBtn->SetDefault(true);
    ExecBtn->OnClick = TNotifyEvent(this, &TForm5::ExecBtnClick);
    AddListBtn = AutoRegionButton(this, this, "AddListBtn", "リージョンリストに追加(&O)",
                                  bottom - 2 * kButtonHeight - kMargin);
    AddListBtn->SetEnabled(false);
    AddListBtn->OnClick = TNotifyEvent(this, &TForm5::AddListBtnClick);
    CancelBtn = AutoRegionButton(this, this, "CancelBtn", "&Cancel", bottom - kButtonHeight);
    CancelBtn->SetCancel(true); // Escape cancels, as in the other windows
    CancelBtn->OnClick = TNotifyEvent(this, &TForm5::CancelBtnClick);

    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    actAdd = new TAction(this);
    actAdd->SetName("actAdd");
    actAdd->SetShortCut(ShortCut('O', ssCtrl));
    actAdd->SetActionList(ActionList1);
    actAdd->OnExecute = TNotifyEvent(this, &TForm5::AddListBtnClick);
}

// --- The choices ---------------------------------------------------------------------------

TAutoMode TForm5::Mode() const
{
    if (TypeRd2->Checked())
        return TAutoMode::CutPoints;
    if (TypeRd3->Checked())
        return TAutoMode::SearchSilence;
    return TAutoMode::StripSilence;
}

void TForm5::SetMode(TAutoMode mode)
{
    switch (mode) {
    case TAutoMode::StripSilence:
        TypeRd1->SetChecked(true);
        break;
    case TAutoMode::CutPoints:
        TypeRd2->SetChecked(true);
        break;
    case TAutoMode::SearchSilence:
        TypeRd3->SetChecked(true);
        break;
    }
    ApplyType();
}

TAutoSettings TForm5::Settings() const
{
    return {Level(), PreEd->AsInteger(), PostEd->AsInteger(), MinLengthEd->AsInteger(),
            MinIntervalEd->AsInteger()};
}

void TForm5::TypeRd1Click(TObject* Sender)
{
    ApplyType();
}

void TForm5::ApplyType()
{
    const TAutoMode mode = Mode();
    for (TControl* control : FTimeControls)
        control->SetEnabled(mode != TAutoMode::CutPoints);
    DivCheck->SetEnabled(mode == TAutoMode::CutPoints);
    if (mode == TAutoMode::StripSilence)
        Lb4->SetCaption(AutoRegionText::IntervalStrip);
    else if (mode == TAutoMode::SearchSilence)
        Lb4->SetCaption(AutoRegionText::IntervalSearch);
}

// --- Run and add ---------------------------------------------------------------------------

void TForm5::ExecBtnClick(TObject* Sender)
{
    CopyOverview();
    {
        TScreenCursorScope hourglass(crHourGlass);
        AddListBtn->SetEnabled(false);
        TAutoRegionRunScope buttons({ExecBtn, CancelBtn});
        RunDetection();
        DrawRegionPreview();
        DrawCutPointPreview();
    }
    const bool any = FSource.Regions->Count() > 0 || FSource.CutPoints->Count() > 0;
    AddListBtn->SetEnabled(any);
    if (!any)
        CountLb->SetCaption(AutoRegionText::NoCount);
}

void TForm5::RunDetection()
{
    KeepAutoDetection(
        DetectLevels(Mode(), *FSource.Envelope, *FSource.Averages, FSource.Scale, Settings()),
        *FSource.Regions, *FSource.CutPoints);
}

void TForm5::AddListBtnClick(TObject* Sender)
{
    if (!AddListBtn->Enabled())
        return;
    if (FSource.Regions->Count() > 0)
        FResult = TAutoResult::Regions;
    else if (FSource.CutPoints->Count() > 0)
        FResult = TAutoResult::CutPoints;
    else
        FResult = TAutoResult::Nothing;
    Close();
}

void TForm5::CancelBtnClick(TObject* Sender)
{
    FResult = TAutoResult::Nothing;
    Close();
}

// --- Preview -------------------------------------------------------------------------------

void TForm5::CopyOverview()
{
    if (FSource.Overview)
        AutoImage->Picture()->Assign(FSource.Overview);
}

void TForm5::DrawRegionPreview()
{
    if (FSource.Regions->Count() == 0)
        return;
    DropInvalidRegions(*FSource.Regions, FSource.SampleSize);
    TBitmap& bitmap = *AutoImage->Picture();
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    const TRegionPreviewColumns columns =
        RegionPreviewColumns(*FSource.Regions, FSource.SampleSize, bitmap.Width());
    for (int x = 0; x < static_cast<int>(columns.Covered.size()); ++x)
        if (columns.Covered[x])
            AutoRegionPaintColumn(bitmap, x, FSource.BackColor);
    for (int x : columns.Marks)
        DrawMark(x, clBlack);
    CountLb->SetCaption(DetectedCountText(FSource.Regions->Count()));
}

void TForm5::DrawCutPointPreview()
{
    if (FSource.CutPoints->Count() == 0)
        return;
    RemoveDuplicateCutPoints(*FSource.CutPoints);
    const int width = AutoImage->Picture()->Width();
    for (int x : CutPointColumns(*FSource.CutPoints, FSource.SampleSize, width))
        DrawMark(x, FSource.CutBarColor);
    CountLb->SetCaption(DetectedCountText(FSource.CutPoints->Count() + 1));
}

void TForm5::DrawMark(int x, TColor color)
{
    TCanvas* canvas = AutoImage->Picture()->Canvas();
    canvas->Pen()->SetColor(color);
    canvas->MoveTo(x, 0);
    canvas->LineTo(x, AutoImage->Picture()->Height());
    for (int row = 0; row < 4; ++row) {
        canvas->MoveTo(x, row);
        canvas->LineTo(x + 4 - row, row);
    }
}
