// The cut bars of the main window: the list view that shows them. Adding
// a bar comes with the cut-bar commands.
#include "ostrel.h"

#include "CutBarList.h"

#include "audio/DirectWavEngine.h"

void TFormVusk::RefreshCutBarList()
{
    TListItems* items = CutManageList->Items();
    items->BeginUpdate();
    try {
        items->Clear();
        for (int i = 0; i < FCutBars->Count(); ++i) {
            const TCutBarRow row =
                CutBarRowFor(i, CutBarSample(FCutBars->Strings(i)), FEngine->Rate());
            TListItem* item = items->Add();
            item->SetCaption(row.Number);
            item->SubItems()->Add(row.Time);
            item->SubItems()->Add(row.Samples);
        }
    } catch (...) {
        items->EndUpdate();
        throw;
    }
    items->EndUpdate();
}

void TFormVusk::AddCutBar(std::int32_t sample) {}
