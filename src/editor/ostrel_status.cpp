// The coloured message in the status bar that clears itself after a time.
#include "ostrel.h"

void TFormVusk::ShowStatusMessage(const AnsiString& text, TColor color, int milliseconds)
{
    MesClearTimer->SetEnabled(false);
    MessageLabel->Font()->SetColor(color);
    MessageLabel->SetCaption(text);
    MessageLabel->SetVisible(true);
    if (milliseconds == -1)
        return;
    MesClearTimer->OnTimer = TNotifyEvent(this, &TFormVusk::MesClearTimerTimer);
    MesClearTimer->SetInterval(static_cast<unsigned>(milliseconds));
    MesClearTimer->SetEnabled(true);
}

void TFormVusk::MesClearTimerTimer(TObject* Sender)
{
    MessageLabel->SetCaption("");
    MesClearTimer->SetEnabled(false);
}
