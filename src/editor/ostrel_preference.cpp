// The preferences command: the settings and the command shortcuts into the
// preferences window, and what the person changed back into the settings,
// the engine, the display and the actions.
#include "ostrel.h"

#include "dialogs/ql_filelist.h"
#include "dialogs/ql_preference.h"

namespace {

constexpr const char* kSystemOutDevice = "WAVE_MAPPER";

// Frees the window when the command ends, however it ends, and clears its
// program-wide variable.
class TPreferenceWindowScope
{
public:
    explicit TPreferenceWindowScope(TForm6* window) { Form6 = window; }
    TPreferenceWindowScope(const TPreferenceWindowScope&) = delete;
    TPreferenceWindowScope& operator=(const TPreferenceWindowScope&) = delete;
    ~TPreferenceWindowScope() { FreeAndNil(Form6); }
};

void SelectSize(TComboBox* box, int size)
{
    if (size >= 1 && size <= box->Items()->Count())
        box->SetItemIndex(size - 1);
}

} // namespace

void TFormVusk::WirePreferenceCommand()
{
    actFilePreference->OnExecute = TNotifyEvent(this, &TFormVusk::actFilePreferenceExecute);
}

void TFormVusk::actFilePreferenceExecute(TObject* Sender)
{
    if (FDocument.Busy())
        return;
    // The window reads the devices too: not while the lookup after the
    // first show reads them.
    EnsureOutputDevice();
    TPreferenceWindowScope scope(new TForm6(this, FOption));
    FillPreferences(*Form6);
    Form6->PageControl1->SetActivePageIndex(FOption.PrefPage);
    Form6->ShowModal();
    if (Form6->FOkResult)
        ApplyPreferences(*Form6);
    FOption.PrefPage = Form6->PageControl1->ActivePageIndex();
}

void TFormVusk::FillPreferences(TForm6& window)
{
    window.SetSwatchColors(SwatchColorsOf(FOption));
    window.chk1->SetChecked(FOption.SaveData);
    window.chk2->SetChecked(FOption.SaveForm);
    window.chk6->SetChecked(FOption.SaveFileList);
    window.chk3->SetChecked(FOption.NoCaution);
    window.chk5->SetChecked(FOption.CutToAdd);
    window.StripeChk->SetChecked(FOption.Stripe);
    window.ZeroSpin->SetValue(FOption.ZeroLevel);
    SelectSize(window.MarkSizeCombo, FOption.MarkSize);
    SelectSize(window.DispSizeCombo, FOption.DispSize);
    // The user's assignment, not the live shortcuts, which a rename edit
    // with the focus has withdrawn.
    std::vector<TShortCutRecord> table;
    for (int i = 0; i < ActionList->ActionCount(); ++i) {
        auto* action = static_cast<TCustomAction*>(ActionList->Actions(i));
        TShortCut assigned = i < static_cast<int>(FShortCuts.ShortCuts.size())
                                 ? FShortCuts.ShortCuts[i]
                                 : action->ShortCut();
        table.push_back({action->Caption(), assigned, action->ImageIndex()});
    }
    window.SetShortCutTable(std::move(table), ActionList->Images());
}

void TFormVusk::ApplyPreferences(TForm6& window)
{
    if (window.FColorsChanged) {
        SetSwatchColors(FOption, window.SwatchColors());
        if (FileLoaded()) {
            RedrawWaveFromViewStart();
            DrawOverview();
            DrawOverviewRange();
        }
    }
    if (window.FGeneralChanged) {
        int device = window.DeviceCombo->ItemIndex();
        FOption.OutDevice = device <= 0 ? AnsiString(kSystemOutDevice)
                                        : window.DeviceCombo->Items()->Strings(device);
        FOption.BufSize = window.ChosenBufSize();
        FOption.BufCount = static_cast<std::uint16_t>(window.ChosenBufCount());
        ApplyAudioDevice();
    }
    int markSize = window.MarkSizeCombo->ItemIndex() + 1;
    if (markSize != FOption.MarkSize) {
        FOption.MarkSize = markSize;
        ApplyMarkSize();
    }
    int dispSize = window.DispSizeCombo->ItemIndex() + 1;
    if (dispSize != FOption.DispSize) {
        FOption.DispSize = dispSize;
        ApplyDispSize();
    }
    if (window.FShortCutsChanged)
        ApplyShortCutTable(window.FShortCutTable);
    FOption.SaveData = window.chk1->Checked();
    FOption.SaveForm = window.chk2->Checked();
    FOption.SaveFileList = window.chk6->Checked();
    FOption.NoCaution = window.chk3->Checked();
    FOption.CutToAdd = window.chk5->Checked();
    int zeroLevel = window.ZeroSpin->AsInteger();
    if (zeroLevel != FOption.ZeroLevel) {
        FOption.ZeroLevel = zeroLevel;
        ReloadAfterPreference();
    }
    FOption.Stripe = window.StripeChk->Checked();
    EditList->Invalidate();
    CutManageList->Invalidate();
    if (FFileListWindow)
        FFileListWindow->FileList->Invalidate();
}

void TFormVusk::ApplyShortCutTable(const std::vector<TShortCutRecord>& table)
{
    FShortCuts.ShortCuts.clear();
    for (int i = 0; i < ActionList->ActionCount(); ++i) {
        TShortCut shortCut = i < static_cast<int>(table.size()) ? table[i].ShortCut : scNone;
        static_cast<TCustomAction*>(ActionList->Actions(i))->SetShortCut(shortCut);
        FShortCuts.ShortCuts.push_back(shortCut);
    }
    FShortCuts.Count = ActionList->ActionCount();
    // A rename edit that still has the focus keeps the plain keys.
    TWinControl* active = ActiveControl();
    if (active && active->OnExit == TNotifyEvent(this, &TFormVusk::rEd1Exit))
        SuspendShortCuts(false);
    else if (active == ShellTreeView1)
        WithdrawEnterShortCuts();
}
