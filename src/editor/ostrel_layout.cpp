// The main window's controls: the waveform area with its info panel, the
// region list, the side pane (explorer tree, cut-bar list, rename page), the
// status bar, the dialogs, the theme switcher, the timers and the tool
// cursors.
//
//   +-- toolbars (SkinDock2) ------------------------------------------+
//   | ExpPanel  |S| MasterPanel: WavePanel (overview, wave, scroll bar) |
//   | (hidden)  | |              InfoPanel (time, region, samples)     |
//   |------------------------ MasterSplitter ---------------------------|
//   | EditPanel: EditList (regions)                                     |
//   +-- StatusBar1 (MessageLabel) --------------------------------------+
//
// The upper row (UpperPanel) is as high as MasterPanel's stored height.
//
// Behaviour is wired by the concerns that own it; this file only builds.
#include "ostrel.h"

#include "TimingLog.h"

#include "ViewGeometry.h"

#include "audio/ThdTimer.h"
#include "classlib/Screen.h"

namespace {

// Design sizes, pixels.
constexpr int kMasterPanelHeight = 215;
constexpr int kExpPanelWidth = 216;
constexpr int kInfoPanelHeight = 20;
constexpr int kSplitterSize = 4;

// Rename page rows.
constexpr int kRowHeight = 22;
constexpr int kLabelLeft = 8;
constexpr int kFieldLeft = 78;
constexpr int kFieldWidth = 110;

struct TColumnEntry
{
    const char* Caption;
    int Width;
    TAlignment Alignment;
};

const TColumnEntry kRegionColumns[] = {
    {"リージョン名", 120, TAlignment::taLeftJustify},
    {"長さ", 60, TAlignment::taRightJustify},
    {"開始", 60, TAlignment::taRightJustify},
    {"終了", 60, TAlignment::taRightJustify},
    {"音量", 60, TAlignment::taRightJustify},
    {"出力モード", 150, TAlignment::taLeftJustify},
};

const TColumnEntry kCutBarColumns[] = {
    {"", 30, TAlignment::taLeftJustify},
    {"カットバー位置", 120, TAlignment::taLeftJustify},
};

TPanel* MakePanel(TComponent* owner, TWinControl* parent, const char* name, TAlign align)
{
    TPanel* panel = MakeChildControl<TPanel>(owner, parent, name);
    panel->SetBevelOuter(TBevelCut::bvNone);
    panel->SetCaption("");
    panel->SetAlign(align);
    return panel;
}

TLabel* MakeLabel(TComponent* owner, TWinControl* parent, const char* name,
                  const AnsiString& caption, int left, int top)
{
    TLabel* label = MakeChildControl<TLabel>(owner, parent, name);
    label->SetAutoSize(true);
    label->SetCaption(caption);
    label->SetLeft(left);
    label->SetTop(top);
    return label;
}

void AddColumns(TListView* list, const TColumnEntry* entries, int count)
{
    for (int i = 0; i < count; ++i) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(entries[i].Caption);
        column->SetWidth(entries[i].Width);
        column->SetAlignment(entries[i].Alignment);
    }
}

TComboBox* MakeChoice(TComponent* owner, TWinControl* parent, const char* name,
                      std::initializer_list<const char*> items, int selected, int top)
{
    TComboBox* box = MakeChildControl<TComboBox>(owner, parent, name);
    box->SetStyle(TComboBoxStyle::csDropDownList);
    for (const char* item : items)
        box->Items()->Add(item);
    box->SetItemIndex(selected);
    box->SetBounds(kFieldLeft, top, kFieldWidth, kRowHeight);
    return box;
}

template <class T> T* MakeField(TComponent* owner, TWinControl* parent, const char* name, int top)
{
    T* field = MakeChildControl<T>(owner, parent, name);
    field->SetBounds(kFieldLeft, top, kFieldWidth, kRowHeight - 3);
    return field;
}

TExtRadioButton* MakeRadio(TComponent* owner, TWinControl* parent, const char* name,
                           const AnsiString& caption, int top)
{
    TExtRadioButton* radio = MakeChildControl<TExtRadioButton>(owner, parent, name);
    radio->SetCaption(caption);
    radio->SetBounds(kLabelLeft, top, 190, kRowHeight - 4);
    return radio;
}

TTimer* MakeTimer(TComponent* owner, const char* name, unsigned interval)
{
    TTimer* timer = new TTimer(owner);
    timer->SetName(name);
    timer->SetEnabled(false);
    timer->SetInterval(interval);
    return timer;
}

} // namespace

void TFormVusk::CreateControls()
{
    // The toolbars' dock first: the top of the window (a dock aligns to its
    // edge). The bars come with the actions' toolbars.
    {
        TTimingSpan span("toolbardock");
        SkinDock2 = MakeChildControl<TSkinDock>(this, this, "SkinDock2");
        HoldBarLayout(SkinDock2);
    }
    {
        TTimingSpan span("statusbar");
        CreateStatusBar();
    }

    UpperPanel = MakePanel(this, this, "UpperPanel", TAlign::alTop);
    UpperPanel->SetHeight(kMasterPanelHeight);
    MasterSplitter = MakeChildControl<TFlatSplitter>(this, this, "MasterSplitter");
    MasterSplitter->SetAlign(TAlign::alTop);
    MasterSplitter->SetHeight(kSplitterSize);
    MasterSplitter->SetTop(UpperPanel->Top() + kMasterPanelHeight);
    CreateSidePane();
    {
        TTimingSpan span("wavearea");
        CreateWaveArea();
    }
    {
        TTimingSpan span("regionlist");
        CreateRegionList();
    }
    {
        TTimingSpan span("dialogs");
        CreateDialogs();
        CreateTimers();
    }
}

// The status message's label, then a second label that stays empty.
void TFormVusk::CreateStatusBar()
{
    StatusBar1 = MakeChildControl<TExtStatusBar>(this, this, "StatusBar1");
    MessageLabel = new TExtLabelItem(this);
    MessageLabel->SetName("MessageLabel");
    StatusBar1->Items()->Add(MessageLabel);
    StatusBar1->Items()->Add(new TExtLabelItem(this));
}

// MasterPanel fills the upper row, so the row takes its height.
void TFormVusk::SetMasterPanelHeight(int value)
{
    UpperPanel->SetHeight(value);
}

void TFormVusk::CreateWaveArea()
{
    MasterPanel = MakePanel(this, UpperPanel, "MasterPanel", TAlign::alClient);

    InfoPanel = MakePanel(this, MasterPanel, "InfoPanel", TAlign::alBottom);
    InfoPanel->SetHeight(kInfoPanelHeight);
    Label6 = MakeLabel(this, InfoPanel, "Label6", "時間：", 4, 6);
    InfoTimeLabel = MakeLabel(this, InfoPanel, "InfoTimeLabel", "", 40, 5);
    Label5 = MakeLabel(this, InfoPanel, "Label5", "リージョン：", 160, 6);
    InfoRegionLabel = MakeLabel(this, InfoPanel, "InfoRegionLabel", "", 230, 5);
    Label3 = MakeLabel(this, InfoPanel, "Label3", "サンプル数：", 420, 6);
    InfoSampleLabel = MakeLabel(this, InfoPanel, "InfoSampleLabel", "", 490, 5);
    for (TLabel* caption : {Label6, Label5, Label3})
        caption->Font()->SetSize(8);
    for (TLabel* value : {InfoTimeLabel, InfoRegionLabel, InfoSampleLabel})
        value->Font()->SetSize(9);

    WavePanel = MakePanel(this, MasterPanel, "WavePanel", TAlign::alClient);
    TWaveLayout layout = WaveLayoutFor(600, kMasterPanelHeight - kInfoPanelHeight);
    OverViewImage = MakeChildControl<TCursolImage>(this, WavePanel, "OverViewImage");
    OverViewImage->SetBounds(2, 0, layout.OverviewWidth, layout.OverviewHeight);
    OverViewImage->SetAnchors(akLeft | akTop | akRight);
    WaveImage = MakeChildControl<TCursolImage>(this, WavePanel, "WaveImage");
    WaveImage->SetBounds(0, layout.OverviewHeight + 1, layout.WaveWidth, layout.WaveHeight);
    WaveImage->SetAnchors(akLeft | akTop | akRight | akBottom);
    ScrollBar1 = MakeChildControl<TScrollBar>(this, WavePanel, "ScrollBar1");
    ScrollBar1->SetBounds(0, layout.ScrollTop, layout.ScrollWidth, layout.ScrollHeight);
    ScrollBar1->SetAnchors(akLeft | akRight | akBottom);
    ScrollBar1->SetEnabled(false);

    // Out of sight but focusable: the waveform's stand-in for the focus.
    FocusBtn = MakeChildControl<TButton>(this, MasterPanel, "FocusBtn");
    FocusBtn->SetBounds(-200, 0, 20, 20);
    FocusBtn->SetCaption("");
    FocusBtn->SetTabStop(false);
}

void TFormVusk::CreateRegionList()
{
    EditPanel = MakePanel(this, this, "EditPanel", TAlign::alClient);
    EditList = MakeChildControl<TCursolListView>(this, EditPanel, "EditList");
    EditList->SetAlign(TAlign::alClient);
    EditList->SetViewStyle(TViewStyle::vsReport);
    EditList->SetMultiSelect(true);
    EditList->SetReadOnly(true);
    EditList->SetRowSelect(true);
    EditList->SetHideSelection(false);
    EditList->SetTabStop(false);
    AddColumns(EditList, kRegionColumns, std::size(kRegionColumns));
}

void TFormVusk::CreateSidePane()
{
    ExpPanel = MakePanel(this, UpperPanel, "ExpPanel", TAlign::alLeft);
    ExpPanel->SetWidth(kExpPanelWidth);
    ExpPanel->SetVisible(false);
    FlatSplitter1 = MakeChildControl<TFlatSplitter>(this, UpperPanel, "FlatSplitter1");
    FlatSplitter1->SetAlign(TAlign::alLeft);
    FlatSplitter1->SetWidth(kSplitterSize);
    FlatSplitter1->SetLeft(kExpPanelWidth);
    FlatSplitter1->SetVisible(false);

    CreateExplorerTree();
    {
        TTimingSpan span("cutbarlist");
        CutManageList = MakeChildControl<TListView>(this, ExpPanel, "CutManageList");
        CutManageList->SetAlign(TAlign::alClient);
        CutManageList->SetViewStyle(TViewStyle::vsReport);
        CutManageList->SetReadOnly(true);
        CutManageList->SetRowSelect(true);
        CutManageList->SetColumnClick(false);
        CutManageList->SetHideSelection(false);
        CutManageList->SetVisible(false);
        AddColumns(CutManageList, kCutBarColumns, std::size(kCutBarColumns));
    }
    TTimingSpan span("renamepane");
    CreateRenamePage();
}

void TFormVusk::CreateExplorerTree()
{
    // The tree reads the drives and the shell's icons on a thread of its own
    // once the window is on the screen (StartBackgroundReads), or when it is
    // shown before.
    TTimingSpan span("explorer");
    ShellTreeView1 = MakeChildControl<TShellTreeView>(this, ExpPanel, "ShellTreeView1");
    ShellTreeView1->SetAlign(TAlign::alClient);
    // Its files are dragged onto the waveform and the file list.
    ShellTreeView1->SetDragMode(TDragMode::dmAutomatic);
    ShellTreeView1->SetVisible(false);
}

void TFormVusk::CreateRenamePage()
{
    RenamePage = MakeChildControl<TExtTabControl>(this, ExpPanel, "RenamePage");
    RenamePage->SetAlign(TAlign::alClient);
    RenamePage->SetVisible(false);
    // Each tab brings its page.
    auto makeTab = [this](const wchar_t* caption) {
        auto* tab = new TExtTabItem(this);
        tab->SetCaption(caption);
        RenamePage->Items()->Add(tab);
        return RenamePage->Sheets(RenamePage->SheetCount() - 1);
    };
    RenameAddTab = makeTab(L"追加");
    RenameDelTab = makeTab(L"削除");
    RenameChangeTab = makeTab(L"変換");
    RenameInputTab = makeTab(L"連続入力");
    auto row = [](int index) { return 4 + index * kRowHeight; };

    TWinControl* tab = RenameAddTab;
    rnAdd2 = MakeRadio(this, tab, "rnAdd2", "文字列に連番を追加", row(0));
    rnAdd1 = MakeRadio(this, tab, "rnAdd1", "現在名に連番を追加", row(1));
    rnAdd3 = MakeRadio(this, tab, "rnAdd3", "現在名に文字列を追加", row(2));
    rnAdd2->SetChecked(true);
    rLb1 = MakeLabel(this, tab, "rLb1", "連番開始", kLabelLeft, row(3) + 3);
    rSp1 = MakeField<TNumSpinEdit>(this, tab, "rSp1", row(3));
    rLb2 = MakeLabel(this, tab, "rLb2", "桁", kLabelLeft, row(4) + 3);
    rSp2 = MakeField<TNumSpinEdit>(this, tab, "rSp2", row(4));
    rLb3 = MakeLabel(this, tab, "rLb3", "文字列", kLabelLeft, row(5) + 3);
    rEd1 = MakeField<TNumEdit>(this, tab, "rEd1", row(5));
    rLb4 = MakeLabel(this, tab, "rLb4", "追加箇所", kLabelLeft, row(6) + 3);
    rCb1 = MakeChoice(this, tab, "rCb1", {"前方", "後方"}, 1, row(6));
    rSp1->SetMin(-9999);
    rSp2->SetMax(10);
    rSp1->SetValue(1);
    rSp2->SetValue(2);
    GoRnBtn1 = MakeChildControl<TSkinButton>(this, tab, "GoRnBtn1");

    tab = RenameDelTab;
    rnDel1 = MakeRadio(this, tab, "rnDel1", "文字列を削除", row(0));
    rLb5 = MakeLabel(this, tab, "rLb5", "文字列", kLabelLeft, row(1) + 3);
    rEd2 = MakeField<TNumEdit>(this, tab, "rEd2", row(1));
    rnDel2 = MakeRadio(this, tab, "rnDel2", "位置を指定して削除", row(2));
    rnDel1->SetChecked(true);
    rLb6 = MakeLabel(this, tab, "rLb6", "位置", kLabelLeft, row(3) + 3);
    rCb2 = MakeChoice(this, tab, "rCb2", {"先頭文字から", "末尾文字から", "指定文字位置から"}, 0,
                      row(3));
    rLb7 = MakeLabel(this, tab, "rLb7", "指定位置", kLabelLeft, row(4) + 3);
    rSp3 = MakeField<TNumSpinEdit>(this, tab, "rSp3", row(4));
    rLb8 = MakeLabel(this, tab, "rLb8", "削除数", kLabelLeft, row(5) + 3);
    rSp4 = MakeField<TNumSpinEdit>(this, tab, "rSp4", row(5));
    rSp3->SetValue(1);
    rSp4->SetValue(1);
    for (TControl* off : std::initializer_list<TControl*>{rLb6, rCb2, rLb7, rSp3, rLb8, rSp4})
        off->SetEnabled(false);
    GoRnBtn2 = MakeChildControl<TSkinButton>(this, tab, "GoRnBtn2");

    tab = RenameChangeTab;
    rnChange1 = MakeRadio(this, tab, "rnChange1", "文字列を変換", row(0));
    rLb9 = MakeLabel(this, tab, "rLb9", "変換前", kLabelLeft, row(1) + 3);
    rEd3 = MakeField<TNumEdit>(this, tab, "rEd3", row(1));
    rLb10 = MakeLabel(this, tab, "rLb10", "変換後", kLabelLeft, row(2) + 3);
    rEd4 = MakeField<TNumEdit>(this, tab, "rEd4", row(2));
    rnChange2 = MakeRadio(this, tab, "rnChange2", "大文字化", row(3));
    rnChange3 = MakeRadio(this, tab, "rnChange3", "子文字化", row(4));
    rnChange1->SetChecked(true);
    GoRnBtn3 = MakeChildControl<TSkinButton>(this, tab, "GoRnBtn3");

    tab = RenameInputTab;
    rLb11 = MakeLabel(this, tab, "rLb11", "入力文字列", kLabelLeft, row(0) + 3);
    rEd5 = MakeField<TNumEdit>(this, tab, "rEd5", row(0));
    rCk1 = MakeChildControl<TExtCheckBox>(this, tab, "rCk1");
    rCk1->SetCaption("文字列を自動追加する");
    rCk1->SetBounds(kLabelLeft, row(1), 190, kRowHeight - 4);
    rLb12 = MakeLabel(this, tab, "rLb12", "文字列", kLabelLeft, row(2) + 3);
    rEd6 = MakeField<TNumEdit>(this, tab, "rEd6", row(2));
    rLb13 = MakeLabel(this, tab, "rLb13", "追加箇所", kLabelLeft, row(3) + 3);
    rCb3 = MakeChoice(this, tab, "rCb3", {"前方", "後方"}, 0, row(3));
    for (TControl* off : std::initializer_list<TControl*>{rLb12, rEd6, rLb13, rCb3})
        off->SetEnabled(false);

    for (TSkinButton* go : {GoRnBtn1, GoRnBtn2, GoRnBtn3}) {
        go->SetCaption("リネーム実行(&G)");
        go->SetBounds(kFieldLeft, row(7), kFieldWidth, kRowHeight);
    }
    // Typing in these edits takes the plain-key shortcuts over.
    for (TWinControl* edit : std::initializer_list<TWinControl*>{rEd1, rEd2, rEd3, rEd4, rEd5, rEd6,
                                                                 rSp1, rSp2, rSp3, rSp4}) {
        edit->OnEnter = TNotifyEvent(this, &TFormVusk::rEd1Enter);
        edit->OnExit = TNotifyEvent(this, &TFormVusk::rEd1Exit);
    }
    // The labels show the page under their captions, not the face colour.
    for (TLabel* label :
         {rLb1, rLb2, rLb3, rLb4, rLb5, rLb6, rLb7, rLb8, rLb9, rLb10, rLb11, rLb12, rLb13})
        label->SetTransparent(true);
    RenamePage->SetActiveTabIndex(0);
}

void TFormVusk::CreateDialogs()
{
    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->SetTitle("WAVファイルを選択してください");
    OpenDialog1->SetFilter("読み込み可能なファイル|*.wav;*.rgl|wavファイル(*.wav) |*.wav|"
                           "リージョンファイル(*.rgl)|*.rgl|全てのファイル|*.*");
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    SaveDialog1->SetFilter("保存可能なファイル|*.wav;*.rgl|全てのファイル|*.*");
    DropFileTarget1 = new TDropFileTarget(this);
    DropFileTarget1->SetName("DropFileTarget1");
    SkinSwitcher1 = new TSkinSwitcher(this);
    SkinSwitcher1->SetName("SkinSwitcher1");
    SkinSwitcher1->SetTheme("Default");
}

void TFormVusk::CreateTimers()
{
    MainTimer = new TThreadedTimer(this);
    MainTimer->SetName("MainTimer");
    MainTimer->SetInterval(50);
    BrinkTimer = MakeTimer(this, "BrinkTimer", 600);
    DragScrollTimer = MakeTimer(this, "DragScrollTimer", 100);
    DragEditTimer = MakeTimer(this, "DragEditTimer", 50);
    MesClearTimer = MakeTimer(this, "MesClearTimer", 3000);
    PlayEndTimer = MakeTimer(this, "PlayEndTimer", 100);
    DebugTimer = MakeTimer(this, "DebugTimer", 1000);
}

void TFormVusk::LoadToolCursors()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (HCURSOR cut = LoadCursorA(instance, "CUS1"))
        Screen->SetCursors(crCutTool, cut);
    if (HCURSOR erase = LoadCursorA(instance, "CUS2"))
        Screen->SetCursors(crEraseTool, erase);
}
