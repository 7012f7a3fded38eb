#include "ql_property.h"

#include "editor/FileFacts.h"

#include "classlib/FilePaths.h"
#include "classlib/Seams.h"

namespace {

// Design sizes, pixels.
constexpr int kClientWidth = 400;
constexpr int kMargin = 12;
constexpr int kCaptionWidth = 110;
constexpr int kValueLeft = kMargin + kCaptionWidth;
constexpr int kValueWidth = kClientWidth - kValueLeft - kMargin;
constexpr int kRowHeight = 20;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 25;
constexpr int kFactRows = 12;

TExtLabel* PlaceFactLabel(TComponent* owner, TWinControl* parent, const char* name, int left,
                          int top, int width, TAlignment alignment)
{
    TExtLabel* label = MakeChildControl<TExtLabel>(owner, parent, name);
    label->SetAutoSize(false);
    label->SetShowAccelChar(false);
    label->SetAlignment(alignment);
    label->SetBounds(left, top, width, kRowHeight - 4);
    return label;
}

} // namespace

TForm3::TForm3(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form3");
    SetCaption("プロパティ");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(2 * kMargin + kFactRows * kRowHeight + kMargin + kButtonHeight);
    CreateFactRows();
    CreateButtons();
    FinishLoading();
}

void TForm3::CreateFactRows()
{
    struct TFactRow
    {
        const char* Caption;
        TExtLabel* TForm3::*Value; // null for the path's edit
        const char* Name;
    };
    const TFactRow rows[kFactRows] = {
        {"ファイル名 : ", &TForm3::NameLb, "NameLb"},
        {"パス : ", nullptr, "PathEd"},
        {"チャンネル : ", &TForm3::ChannelLb, "ChannelLb"},
        {"サンプルレート : ", &TForm3::RateLb, "RateLb"},
        {"バイト/秒 : ", &TForm3::SpsLb, "SpsLb"},
        {"ブロックサイズ : ", &TForm3::BlockLb, "BlockLb"},
        {"ビット : ", &TForm3::BitLb, "BitLb"},
        {"オフセット : ", &TForm3::OffsetLb, "OffsetLb"},
        {"サンプルサイズ : ", &TForm3::SampleSizeLb, "SampleSizeLb"},
        {"再生時間 : ", &TForm3::TimeLb, "TimeLb"},
        {"ファイルサイズ : ", &TForm3::FileSizeLb, "FileSizeLb"},
        {"更新日時 : ", &TForm3::DateLb, "DateLb"},
    };
    int top = kMargin;
    for (const TFactRow& row : rows) {
        PlaceFactLabel(this, this, "", kMargin, top, kCaptionWidth, TAlignment::taRightJustify)
            ->SetCaption(row.Caption);
        if (row.Value) {
            this->*row.Value = PlaceFactLabel(this, this, row.Name, kValueLeft, top, kValueWidth,
                                              TAlignment::taLeftJustify);
        } else {
            PathEd = MakeChildControl<TEdit>(this, this, row.Name);
            PathEd->SetReadOnly(true);
            PathEd->SetBounds(kValueLeft, top - 3, kValueWidth, kRowHeight);
        }
        top += kRowHeight;
    }
}

void TForm3::CreateButtons()
{
    const int top = ClientHeight() - kMargin - kButtonHeight;
    OpenExpBtn = MakeChildControl<TFlatButton>(this, this, "OpenExpBtn");
    OpenExpBtn->SetCaption("フォルダを開く(&F)");
    OpenExpBtn->SetHint("ファイルのあるフォルダを開きます");
    OpenExpBtn->SetShowHint(true);
    OpenExpBtn->SetBounds(kMargin, top, kButtonWidth, kButtonHeight);
    OpenExpBtn->OnClick = TNotifyEvent(this, &TForm3::OpenExpBtnClick);
    CloseBtn = MakeChildControl<TFlatButton>(this, this, "CloseBtn");
    CloseBtn->SetCaption("閉じる(&C)");
    CloseBtn->SetDefault(true);
    CloseBtn->SetCancel(true); // Escape closes, as in the other windows
    CloseBtn->SetBounds(kClientWidth - kMargin - kButtonWidth, top, kButtonWidth, kButtonHeight);
    CloseBtn->OnClick = TNotifyEvent(this, &TForm3::CloseBtnClick);
}

void TForm3::ShowFacts(const TFileFacts& facts)
{
    NameLb->SetCaption(facts.Name);
    PathEd->SetText(facts.Path);
    ChannelLb->SetCaption(facts.Channels);
    RateLb->SetCaption(facts.Rate);
    SpsLb->SetCaption(facts.BytesPerSecond);
    BlockLb->SetCaption(facts.BlockSize);
    BitLb->SetCaption(facts.Bits);
    OffsetLb->SetCaption(facts.Offset);
    SampleSizeLb->SetCaption(facts.Frames);
    TimeLb->SetCaption(facts.Duration);
    FileSizeLb->SetCaption(facts.FileSize);
    DateLb->SetCaption(facts.Date);
}

void TForm3::OpenExpBtnClick(TObject* Sender)
{
    TShellExecuteRequest request;
    request.Owner = Handle();
    request.Operation = "OPEN";
    request.File = "\"" + ExtractFileDir(PathEd->Text()) + "\"";
    request.ShowCommand = SW_SHOWNORMAL;
    Seams().ShellExecute(request);
}

void TForm3::CloseBtnClick(TObject* Sender)
{
    Close();
}
