#include "ql_about.h"

#include "classlib/Graphics.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr const char* kVersionText = "Version 1.0";
constexpr const char* kNoticeText1 = "WAV ファイルをリージョンに分けて書き出すエディタ";
constexpr const char* kNoticeText2 = "キーを押すかクリックすると閉じます";

// Design sizes, pixels. The first notice (288 px in the system font) and a
// margin fit right of the image.
constexpr int kClientWidth = 400;
constexpr int kClientHeight = 170;
constexpr int kMargin = 12;
constexpr int kImageSize = 64;
constexpr int kTextLeft = 2 * kMargin + kImageSize;

constexpr TColor kImageBack = 0x00000000;
constexpr TColor kImageWave = 0x0000FF00;
constexpr TColor kImageCut = 0x000000FF;

TExtLabel* PlaceText(TComponent* owner, TWinControl* parent, const char* name, const char* caption,
                     int top)
{
    TExtLabel* label = MakeChildControl<TExtLabel>(owner, parent, name);
    label->SetAutoSize(true);
    label->SetShowAccelChar(false);
    label->SetCaption(caption);
    label->SetLeft(kTextLeft);
    label->SetTop(top);
    return label;
}

} // namespace

TForm7::TForm7(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form7");
    SetCaption("バージョン情報");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    // The form sees every key first, whichever control has the focus.
    SetKeyPreview(true);
    OnKeyDown = TKeyEvent(this, &TForm7::FormKeyDown);
    OnMouseDown = TMouseEvent(this, &TForm7::AnyMouseDown);

    Panel1 = MakeChildControl<TPanel>(this, this, "Panel1");
    Panel1->SetBevelOuter(TBevelCut::bvLowered);
    Panel1->SetBounds(kMargin / 2, kMargin / 2, kClientWidth - kMargin, kClientHeight - kMargin);
    Panel1->OnMouseDown = TMouseEvent(this, &TForm7::AnyMouseDown);
    CreateTexts();
    Image1 = MakeChildControl<TImage>(this, Panel1, "Image1");
    Image1->SetBounds(kMargin, kMargin, kImageSize, kImageSize);
    Image1->OnMouseDown = TMouseEvent(this, &TForm7::AnyMouseDown);
    DrawImage();
    FinishLoading();
}

void TForm7::CreateTexts()
{
    ProductLabel = PlaceText(this, Panel1, "ProductLabel", "Zandrel", kMargin);
    ProductLabel->Font()->SetSize(18);
    ProductLabel->Font()->SetStyle(fsBold);
    VersionLabel = PlaceText(this, Panel1, "VersionLabel", kVersionText, kMargin + 40);
    NoticeLabel1 = PlaceText(this, Panel1, "NoticeLabel1", kNoticeText1, kMargin + 84);
    NoticeLabel2 = PlaceText(this, Panel1, "NoticeLabel2", kNoticeText2, kMargin + 108);
    for (TExtLabel* label : {ProductLabel, VersionLabel, NoticeLabel1, NoticeLabel2})
        label->OnMouseDown = TMouseEvent(this, &TForm7::AnyMouseDown);
}

void TForm7::DrawImage()
{
    TBitmap* bitmap = Image1->Bitmap();
    bitmap->SetSize(kImageSize, kImageSize);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(kImageBack);
    canvas->FillRect(TRect(0, 0, kImageSize, kImageSize));
    // A tone that swells and fades, and a cut through its middle.
    std::vector<POINT> wave;
    const double middle = kImageSize / 2.0;
    for (int x = 0; x < kImageSize; ++x) {
        const double swell = std::sin(std::numbers::pi * x / (kImageSize - 1));
        const double y = middle - (middle - 4) * swell * std::sin(x * 0.9);
        wave.push_back({x, static_cast<LONG>(std::lround(y))});
    }
    canvas->Pen()->SetColor(kImageWave);
    canvas->Polyline(wave.data(), static_cast<int>(wave.size()));
    canvas->Pen()->SetColor(kImageCut);
    canvas->MoveTo(kImageSize / 2, 0);
    canvas->LineTo(kImageSize / 2, kImageSize);
}

void TForm7::FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift)
{
    Close();
}

// A key the form would take for moving between controls (Tab) never
// reaches the key handler; with nothing to move to, it closes the window too.
void TForm7::WndProc(TMessage& message)
{
    if (message.Msg == CM_DIALOGKEY) {
        Close();
        message.Result = 1;
        return;
    }
    TForm::WndProc(message);
}

void TForm7::AnyMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Close();
}
