#include "ql_process.h"

#include "DrawData.h"
#include "TimeText.h"
#include "TimingLog.h"

#include "classlib/Application.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"

namespace {

// Design sizes, pixels.
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 116;
constexpr int kMargin = 12;
constexpr int kInnerWidth = kClientWidth - 2 * kMargin;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
// The shortest time between two changes of the progress shown.
constexpr DWORD kProgressRepaintMs = 50;

} // namespace

TForm4::TForm4(TComponent* AOwner) : TForm(AOwner), FMainWindow(dynamic_cast<TCustomForm*>(AOwner))
{
    SetName("Form4");
    SetCaption("バウンス");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetBorderIcons(0);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    CreateControls();
    OnClose = TCloseEvent(this, &TForm4::FormClose);
    OnShow = TNotifyEvent(this, &TForm4::FormShow);
    FinishLoading();
}

void TForm4::CreateControls()
{
    MesLabel1 = MakeChildControl<TLabel>(this, this, "MesLabel1");
    MesLabel1->SetAutoSize(false);
    MesLabel1->SetBounds(kMargin, kMargin, kInnerWidth, 16);
    MesLabel1->SetCaption("リージョンをバウンスしています...");

    MesLabel2 = MakeChildControl<TLabel>(this, this, "MesLabel2");
    MesLabel2->SetAutoSize(false);
    MesLabel2->SetAlignment(TAlignment::taRightJustify);
    MesLabel2->SetBounds(kMargin, kMargin + 20, kInnerWidth, 16);
    MesLabel2->SetCaption("");

    Bar = MakeChildControl<TExtProgressBar>(this, this, "Bar");
    Bar->SetBounds(kMargin, kMargin + 40, kInnerWidth, 18);
    Bar->SetMax(100);
    Bar->SetCaptionType(TExtProgressCaption::pctNone); // the percent is in MesLabel1

    const int bottomRow = kClientHeight - kMargin - kButtonHeight;
    CloseChk = MakeChildControl<TCheckBox>(this, this, "CloseChk");
    CloseChk->SetCaption("終了時にこのウィンドウを閉じる");
    CloseChk->SetBounds(kMargin, bottomRow + 4, kInnerWidth - kButtonWidth - 8, 18);

    CancelBtn = MakeChildControl<TButton>(this, this, "CancelBtn");
    CancelBtn->SetCaption("&Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetBounds(kClientWidth - kMargin - kButtonWidth, bottomRow, kButtonWidth,
                         kButtonHeight);
    CancelBtn->OnClick = TNotifyEvent(this, &TForm4::CancelBtnClick);
}

void TForm4::CancelBtnClick(TObject* Sender)
{
    if (CancelBtn->Caption() != ProcessText::CloseCaption)
        FCancelled = true;
    else
        Close();
}

void TForm4::FormClose(TObject* Sender, TCloseAction& Action)
{
    if (FRunning) {
        Action = TCloseAction::caNone;
        return;
    }
    if (FMainWindow)
        FMainWindow->SetEnabled(true);
}

void TForm4::FormShow(TObject* Sender)
{
    FRunning = false;
}

void TForm4::ShowPainted()
{
    Show();
    Update();
    LogTiming("progress");
    Application->ProcessMessages();
    // The job lets messages through only between its steps: whatever of the
    // main window is still unpainted would stay so behind the window.
    if (FMainWindow)
        FMainWindow->UpdateWithChildren();
}

void TForm4::BeginJob()
{
    FCancelled = false;
    FStartTick = SeamTickCount();
    FProgressShown = false;
    Bar->SetMax(100);
    FRunning = true;
}

bool TForm4::ProgressDue()
{
    const DWORD now = SeamTickCount();
    if (FProgressShown && now - FShownTick < kProgressRepaintMs)
        return false;
    FProgressShown = true;
    FShownTick = now;
    return true;
}

AnsiString TForm4::RemainingTimeText(int percent) const
{
    const double seconds = EstimateRemainingSeconds(SeamTickCount() - FStartTick, percent);
    return seconds < 0 ? AnsiString("----") : FormatTimeShort(seconds);
}

bool TForm4::LetMessagesThrough()
{
    Application->ProcessMessages();
    return !Application->Terminated();
}

void TForm4::StopJob(const AnsiString& text)
{
    ShowStopped(text, clRed);
    MesLabel2->SetCaption("");
}

void TForm4::EndJob()
{
    FRunning = false;
    Close();
}

void TForm4::FinishJob(const AnsiString& text)
{
    ShowStopped(text, clBlack);
}

void TForm4::ShowStopped(const AnsiString& text, TColor color)
{
    MesLabel1->Font()->SetColor(color);
    MesLabel1->SetCaption(text);
    CancelBtn->SetCaption(ProcessText::CloseCaption);
    FRunning = false;
    // The window now waits for "閉じる": Space or Enter presses it.
    if (CancelBtn->CanFocus())
        CancelBtn->SetFocus();
}

bool TForm4::WaitUntilClosed()
{
    while (Visible()) {
        if (Application->Terminated()) {
            // The outer loop must see the quit as well.
            PostQuitMessage(0);
            FRunning = false;
            Close();
            return false;
        }
        Application->HandleMessage();
    }
    return true;
}

TProcessWindowScope::~TProcessWindowScope()
{
    FWindow->FRunning = false;
    FreeAndNil(FWindow);
    FMainWindow.SetEnabled(true);
}
