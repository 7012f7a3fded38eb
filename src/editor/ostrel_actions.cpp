// The main window's commands: the action lists in their fixed order, the
// menu bar, the pop-up menus and the toolbars bound to them. Handlers are
// wired by the concerns that own them; an action without one stays
// disabled.
#include "ostrel.h"

#include "classlib/WideText.h"
#include "toolbar/BarCommon.h"

namespace {

// The actions of ActionList, in the order of the command table (names and
// default shortcuts come from there).
struct TActionEntry
{
    TAction* TFormVusk::*Field;
    const char* Caption;
};

const TActionEntry kActions[kCommandCount] = {
    {&TFormVusk::actFileOpen, "開く(&O)..."},
    {&TFormVusk::actFileClose, "閉じる(&C)"},
    {&TFormVusk::actFileAddFilelist, "ファイルリストに追加(&A)"},
    {&TFormVusk::actFileSave, "リージョンリストを保存(&S)"},
    {&TFormVusk::actFileSaveAs, "名前を付けて保存(&V)..."},
    {&TFormVusk::actFileRip, "CDリッピング(&R)..."},
    {&TFormVusk::actFileLoadList, "リネーム文字列をファイルから読み込む(&L)..."},
    {&TFormVusk::actFileLoadListFromClp, "リネーム文字列をクリップボードから読み込む(&K)"},
    {&TFormVusk::actFileBounce, "バウンス(&B)..."},
    {&TFormVusk::actFileBounceSelOnly, "選択リージョンのみバウンス(&E)..."},
    {&TFormVusk::actFilePreference, "環境設定(&P)..."},
    {&TFormVusk::actFileProperty, "ファイル情報(&I)..."},
    {&TFormVusk::actFileQuit, "終了(&X)"},
    {&TFormVusk::actEditCut, "切り取り(&T)"},
    {&TFormVusk::actEditCopy, "コピー(&C)"},
    {&TFormVusk::actEditPaste, "貼り付け(&P)"},
    {&TFormVusk::actEditDouble, "複製(&D)"},
    {&TFormVusk::actEditDelete, "削除(&L)"},
    {&TFormVusk::actEditSelAll, "全て選択(&A)"},
    {&TFormVusk::actViewFilelist, "ファイルリスト(&F)"},
    {&TFormVusk::actViewCutbarlist, "カットバーリスト(&C)"},
    {&TFormVusk::actViewExp, "エクスプローラ(&E)"},
    {&TFormVusk::actViewRen, "リネーム(&R)"},
    {&TFormVusk::actViewZoomIn, "ズームイン(&I)"},
    {&TFormVusk::actViewZoomOut, "ズームアウト(&O)"},
    {&TFormVusk::actViewZoomAll, "全体を表示(&A)"},
    {&TFormVusk::actViewZoomRegion, "選択範囲を表示(&S)"},
    {&TFormVusk::actViewVZoomIn, "縦方向に拡大(&U)"},
    {&TFormVusk::actViewVZoomOut, "縦方向に縮小(&D)"},
    {&TFormVusk::actViewChase, "再生位置を追いかける(&H)"},
    {&TFormVusk::actRegionAdd, "リージョンを追加(&A)"},
    {&TFormVusk::actRegionEdit, "リージョンを編集(&E)..."},
    {&TFormVusk::actRegionMerge, "リージョンを結合(&M)"},
    {&TFormVusk::actRegionEndWide, "終了位置を広げる"},
    {&TFormVusk::actRegionEndShort, "終了位置を狭める"},
    {&TFormVusk::actRegionStartShort, "開始位置を狭める"},
    {&TFormVusk::actRegionStartWide, "開始位置を広げる"},
    {&TFormVusk::actRegionRew, "前へ移動"},
    {&TFormVusk::actRegionFwd, "後ろへ移動"},
    {&TFormVusk::actRegionNoChange, "変更なし(&N)"},
    {&TFormVusk::actRegionMonoMix, "モノラルミックス(&M)"},
    {&TFormVusk::actRegionMonoLeft, "左チャンネルのみ(&L)"},
    {&TFormVusk::actRegionMonoRight, "右チャンネルのみ(&R)"},
    {&TFormVusk::actRegionSwap, "左右チャンネル入れ替え(&S)"},
    {&TFormVusk::actRegionCut, "カーソル位置でカット(&C)"},
    {&TFormVusk::actRegionCut2, "選択範囲の両端でカット(&B)"},
    {&TFormVusk::actRegionCutToList, "カットバーをリージョンに変換(&V)"},
    {&TFormVusk::actRegionTrim, "トリム(&T)"},
    {&TFormVusk::actRegionExpand, "エキスパンド(&X)"},
    {&TFormVusk::actRegionSet, "トリムの設定(&S)..."},
    {&TFormVusk::actToolRegion, "リージョンツール(&R)"},
    {&TFormVusk::actToolCut, "カットツール(&C)"},
    {&TFormVusk::actToolErase, "消しゴムツール(&E)"},
    {&TFormVusk::actToolSelect, "選択ツール(&S)"},
    {&TFormVusk::actRegionAuto, "自動リージョン(&U)..."},
    {&TFormVusk::actRegionAutoQuick, "クイック自動リージョン(&Q)"},
    {&TFormVusk::actRegionClear, "リージョンを全てクリア(&L)"},
    {&TFormVusk::actRegionCutClear, "カットバーを全てクリア(&K)"},
    {&TFormVusk::actAudioPlay, "再生(&P)"},
    {&TFormVusk::actAudioRenamePlay, "入力中のリージョンを再生(&N)"},
    {&TFormVusk::actAudioStop, "停止(&S)"},
    {&TFormVusk::actAudioRecord, "録音(&R)..."},
    {&TFormVusk::actAudioRew, "巻き戻し(&B)"},
    {&TFormVusk::actAudioFwd, "早送り(&F)"},
    {&TFormVusk::actAudioNRew, "少し戻る"},
    {&TFormVusk::actAudioNFwd, "少し進む"},
    {&TFormVusk::actAudioGotoZero, "先頭へ(&Z)"},
    {&TFormVusk::actAudioBack, "前のカットバーへ"},
    {&TFormVusk::actAudioNext, "次のカットバーへ"},
    {&TFormVusk::actAudioLoop, "ループ再生(&L)"},
    {&TFormVusk::actHelp, "ヘルプ(&H)"},
    {&TFormVusk::actAbout, "バージョン情報(&A)..."},
};

struct TFixedActionEntry
{
    TAction* TFormVusk::*Field;
    const char* Name;
    const char* Caption;
    TShortCut Key;
};

const TFixedActionEntry kFixedActions[] = {
    {&TFormVusk::actTab, "actTab", "次へ", VK_TAB},
    {&TFormVusk::actTab2, "actTab2", "ファイルリストへ", scCtrl | scShift | VK_TAB},
    {&TFormVusk::actTab3, "actTab3", "前へ", scShift | VK_TAB},
    {&TFormVusk::actTab4, "actTab4", "波形・リスト・ペインの切り替え", scCtrl | VK_TAB},
    {&TFormVusk::actReturn, "actReturn", "開く", VK_RETURN},
};

// A toolbar item run by its action under a short caption of its own; the
// action still enables and checks it, and its full caption is the hint. A
// click executes the action, so it runs whatever handler the action holds
// then, never a copy taken when the two were linked.
class TCommandBarItem : public TExtItem
{
public:
    TCommandBarItem(TComponent* AOwner, TAction* action, const char* caption)
        : TExtItem(AOwner), FShortCaption(AnsiToWide(caption))
    {
        SetAction(action);
    }

protected:
    void ActionChange(TObject* Sender, bool CheckDefaults) override
    {
        TExtItem::ActionChange(Sender, CheckDefaults);
        OnClick = nullptr;
        SetCaption(FShortCaption);
        if (auto* action = dynamic_cast<TCustomAction*>(Sender))
            SetHint(AnsiToWide(RemoveAccelMarks(StripTrailingPunctuation(action->Caption()))));
    }

private:
    WideString FShortCaption;
};

struct TToolButtonEntry
{
    TAction* TFormVusk::*Action;
    const char* Caption;
};

// The toolbars, each in the row and at the place along it that a first
// start gives it (the settings file moves them where the user left them).
struct TToolbarEntry
{
    TExtToolbar* TFormVusk::*Field;
    const char* Name;
    int Row;
    int Order; // along the row: the bars are packed in this order
    TToolButtonEntry Buttons[6];
};

const TToolbarEntry kToolbars[kToolbarCount] = {
    {&TFormVusk::FileBar,
     "FileBar",
     0,
     0,
     {{&TFormVusk::actFileOpen, "開く"},
      {&TFormVusk::actFileSave, "保存"},
      {&TFormVusk::actFileBounce, "バウンス"}}},
    {&TFormVusk::ModeBar,
     "ModeBar",
     0,
     1,
     {{&TFormVusk::actToolSelect, "選択"},
      {&TFormVusk::actToolCut, "カット"},
      {&TFormVusk::actToolRegion, "範囲"},
      {&TFormVusk::actToolErase, "消去"}}},
    {&TFormVusk::ZoomBar,
     "ZoomBar",
     0,
     2,
     {{&TFormVusk::actViewZoomIn, "＋"},
      {&TFormVusk::actViewZoomOut, "－"},
      {&TFormVusk::actViewZoomAll, "全体"},
      {&TFormVusk::actViewChase, "追従"}}},
    {&TFormVusk::TransportBar,
     "TransportBar",
     1,
     0,
     {{&TFormVusk::actAudioGotoZero, "|<"},
      {&TFormVusk::actAudioRew, "<<"},
      {&TFormVusk::actAudioPlay, "再生"},
      {&TFormVusk::actAudioStop, "停止"},
      {&TFormVusk::actAudioFwd, ">>"},
      {&TFormVusk::actAudioLoop, "ループ"}}},
    {&TFormVusk::Toolbar,
     "Toolbar",
     1,
     1,
     {{&TFormVusk::actRegionAuto, "自動"},
      {&TFormVusk::actRegionAutoQuick, "クイック"},
      {&TFormVusk::actRegionTrim, "トリム"},
      {&TFormVusk::actRegionExpand, "拡張"}}},
};

} // namespace

void TFormVusk::CreateActions()
{
    ActionList = new TActionList(this);
    ActionList->SetName("ActionList");
    for (int i = 0; i < kCommandCount; ++i) {
        const TCommandInfo& command = CommandInfo(i);
        TAction* action = new TAction(this);
        action->SetName(command.Name);
        action->SetCaption(kActions[i].Caption);
        action->SetShortCut(DefaultShortCut(command));
        action->SetActionList(ActionList);
        this->*kActions[i].Field = action;
    }
    for (TAction* pane : {actViewFilelist, actViewCutbarlist, actViewExp, actViewRen})
        pane->SetChecked(false);
    actViewChase->SetChecked(true);
    actViewChase->SetImageIndex(kChaseOnImage);
    actAudioLoop->SetImageIndex(kLoopOffImage);
    actToolRegion->SetChecked(true);

    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    for (const TFixedActionEntry& entry : kFixedActions) {
        TAction* action = new TAction(this);
        action->SetName(entry.Name);
        action->SetCaption(entry.Caption);
        action->SetShortCut(entry.Key);
        action->SetActionList(ActionList1);
        this->*entry.Field = action;
    }
    // Enabled only while the explorer tree has the focus.
    actReturn->SetEnabled(false);
}

TExtSubmenuItem* TFormVusk::AddSubmenu(TBarCustomItem* parent, const char* name,
                                       const AnsiString& caption)
{
    auto* submenu = new TExtSubmenuItem(this);
    submenu->SetName(name);
    submenu->SetCaption(AnsiToWide(caption));
    parent->Add(submenu);
    return submenu;
}

// The menu bar sits in a dock of its own, which cannot be dragged, above
// the toolbars' dock.
void TFormVusk::CreateMenus()
{
    SkinDock1 = new TSkinDock(this);
    SkinDock1->SetName("SkinDock1");
    SkinDock1->SetParent(this);
    SkinDock1->SetAllowDrag(false);
    HoldBarLayout(SkinDock1);
    MenuBar = new TExtToolbar(this);
    HoldBarLayout(MenuBar);
    MenuBar->SetName("MenuBar");
    MenuBar->SetMenuBar(true);
    TBarCustomItem* bar = MenuBar->Items();

    // Seventeen items: the recent files follow from index 17.
    FileMenu = AddSubmenu(bar, "FileMenu", "ファイル(&F)");
    AddBarItems(FileMenu, {actFileOpen, actFileClose, actFileAddFilelist});
    AddBarSeparator(FileMenu);
    AddBarItems(FileMenu, {actFileSave, actFileSaveAs, actFileLoadList, actFileLoadListFromClp});
    AddBarSeparator(FileMenu);
    AddBarItems(FileMenu, {actFileBounce, actFileBounceSelOnly, actFileRip});
    AddBarSeparator(FileMenu);
    AddBarItems(FileMenu, {actFilePreference, actFileProperty});
    AddBarSeparator(FileMenu);
    AddBarItems(FileMenu, {actFileQuit});

    EditMenu = AddSubmenu(bar, "EditMenu", "編集(&E)");
    AddBarItems(EditMenu, {actEditCut, actEditCopy, actEditPaste, actEditDouble, actEditDelete});
    AddBarSeparator(EditMenu);
    AddBarItems(EditMenu, {actEditSelAll});

    ViewMenu = AddSubmenu(bar, "ViewMenu", "表示(&V)");
    AddBarItems(ViewMenu, {actViewFilelist, actViewExp, actViewCutbarlist, actViewRen});
    AddBarSeparator(ViewMenu);
    AddBarItems(ViewMenu, {actViewZoomIn, actViewZoomOut, actViewZoomAll, actViewZoomRegion});
    AddBarSeparator(ViewMenu);
    AddBarItems(ViewMenu, {actViewVZoomIn, actViewVZoomOut});
    AddBarSeparator(ViewMenu);
    AddBarItems(ViewMenu, {actViewChase});
    AddBarSeparator(ViewMenu);
    ToolbarMenu = AddSubmenu(ViewMenu, "ToolbarMenu", "ツールバー(&T)");
    ExtItem88 = AddBarItem(ToolbarMenu, "ExtItem88", "ツールバーを固定する(&F)",
                           &TFormVusk::ExtItem88Click);
    ExtItem87 = AddBarItem(ToolbarMenu, "ExtItem87", "全てのツールバーを表示(&A)",
                           &TFormVusk::ExtItem87Click);

    RegionMenu = AddSubmenu(bar, "RegionMenu", "リージョン(&R)");
    AddBarItems(RegionMenu, {actToolRegion, actToolCut, actToolErase, actToolSelect});
    AddBarSeparator(RegionMenu);
    AddBarItems(RegionMenu, {actRegionAdd, actRegionEdit, actRegionMerge});
    AddBarSeparator(RegionMenu);
    AddBarItems(RegionMenu, {actRegionStartWide, actRegionStartShort, actRegionEndWide,
                             actRegionEndShort, actRegionRew, actRegionFwd});
    AddBarSeparator(RegionMenu);
    OutModeMenu = AddSubmenu(RegionMenu, "OutModeMenu", "出力モード(&O)");
    AddBarItems(OutModeMenu, {actRegionNoChange, actRegionMonoMix, actRegionMonoLeft,
                              actRegionMonoRight, actRegionSwap});
    AddBarSeparator(RegionMenu);
    AddBarItems(RegionMenu, {actRegionCut, actRegionCut2, actRegionCutToList, actRegionCutClear});
    AddBarSeparator(RegionMenu);
    AddBarItems(RegionMenu, {actRegionTrim, actRegionExpand, actRegionSet});
    AddBarSeparator(RegionMenu);
    AddBarItems(RegionMenu, {actRegionAuto, actRegionAutoQuick});
    AddBarSeparator(RegionMenu);
    AddBarItems(RegionMenu, {actRegionClear});

    AudioMenu = AddSubmenu(bar, "AudioMenu", "再生(&P)");
    AddBarItems(AudioMenu, {actAudioPlay, actAudioRenamePlay, actAudioStop});
    AddBarSeparator(AudioMenu);
    AddBarItems(AudioMenu, {actAudioGotoZero, actAudioRew, actAudioFwd, actAudioNRew, actAudioNFwd,
                            actAudioBack, actAudioNext});
    AddBarSeparator(AudioMenu);
    AddBarItems(AudioMenu, {actAudioLoop});
    VolMenu = AddSubmenu(AudioMenu, "VolMenu", "マスターボリューム(&V)");
    struct
    {
        TExtItem* TFormVusk::*Field;
        const char* Caption;
    } const volumes[kMasterVolumeStepCount] = {
        {&TFormVusk::vol0, "0 db"},    {&TFormVusk::vol6, "-6 db"},
        {&TFormVusk::vol12, "-12 db"}, {&TFormVusk::vol20, "-20 db"},
        {&TFormVusk::vol30, "-30 db"}, {&TFormVusk::volmute, "ミュート"},
    };
    for (int i = 0; i < kMasterVolumeStepCount; ++i) {
        TExtItem* item = AddBarItem(VolMenu, MasterVolumeStep(i).Name, volumes[i].Caption,
                                    &TFormVusk::vol0Click);
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
        this->*volumes[i].Field = item;
    }
    vol0->SetChecked(true);
    AddBarSeparator(AudioMenu);
    AddBarItems(AudioMenu, {actAudioRecord});

    HelpMenu = AddSubmenu(bar, "HelpMenu", "ヘルプ(&H)");
    AddBarItems(HelpMenu, {actHelp});
    AddBarSeparator(HelpMenu);
    AddBarItems(HelpMenu, {actAbout});
    MenuBar->SetCurrentDock(SkinDock1);
}

TExtItem* TFormVusk::AddBarItem(TBarCustomItem* parent, TAction* action)
{
    auto* item = new TExtItem(this);
    item->SetAction(action);
    parent->Add(item);
    return item;
}

TExtItem* TFormVusk::AddBarItem(TBarCustomItem* parent, const char* name, const AnsiString& caption,
                                void (TFormVusk::*onClick)(TObject*))
{
    auto* item = new TExtItem(this);
    item->SetName(name);
    item->SetCaption(AnsiToWide(caption));
    item->OnClick = TNotifyEvent(this, onClick);
    parent->Add(item);
    return item;
}

void TFormVusk::AddBarItems(TBarCustomItem* parent, std::initializer_list<TAction*> actions)
{
    for (TAction* action : actions)
        AddBarItem(parent, action);
}

void TFormVusk::AddBarSeparator(TBarCustomItem* parent)
{
    parent->Add(new TSkinSeparatorItem(this));
}

void TFormVusk::CreatePopupMenus()
{
    auto makePopup = [this](const char* name) {
        auto* popup = new TExtPopupMenu(this);
        popup->SetName(name);
        return popup;
    };

    EditListPopup = makePopup("EditListPopup");
    TBarCustomItem* items = EditListPopup->Items();
    AddBarItems(items, {actRegionEdit});
    AddBarSeparator(items);
    AddBarItems(items, {actEditCut, actEditCopy, actEditPaste, actEditDouble, actEditDelete});
    AddBarSeparator(items);
    AddBarItems(items, {actRegionMerge, actRegionTrim, actRegionExpand});
    AddBarSeparator(items);
    AddBarItems(items, {actEditSelAll, actRegionClear});

    OutModePopup = makePopup("OutModePopup");
    AddBarItems(OutModePopup->Items(), {actRegionNoChange, actRegionMonoMix, actRegionMonoLeft,
                                        actRegionMonoRight, actRegionSwap});

    CutManagePopup = makePopup("CutManagePopup");
    items = CutManagePopup->Items();
    AddBarItems(items, {actRegionEdit, actEditDelete});
    AddBarSeparator(items);
    AddBarItems(items, {actRegionCutToList, actRegionCutClear});
    CutManageList->SetPopupMenu(CutManagePopup);

    ToolbarPopup = makePopup("ToolbarPopup");
    items = ToolbarPopup->Items();
    ToolbarPopupLock = AddBarItem(items, "ToolbarPopupLock", "ツールバーを固定する(&F)",
                                  &TFormVusk::ExtItem88Click);
    ToolbarPopupShowAll = AddBarItem(items, "ToolbarPopupShowAll", "全てのツールバーを表示(&A)",
                                     &TFormVusk::ExtItem87Click);
}

void TFormVusk::CreateToolbars()
{
    SkinDock2->SetPopupMenu(ToolbarPopup);
    for (const TToolbarEntry& entry : kToolbars) {
        auto* bar = new TExtToolbar(this);
        HoldBarLayout(bar);
        bar->SetName(entry.Name);
        bar->SetPopupMenu(ToolbarPopup);
        for (const TToolButtonEntry& button : entry.Buttons)
            if (button.Action)
                bar->Items()->Add(new TCommandBarItem(this, this->*button.Action, button.Caption));
        this->*entry.Field = bar;
        DockToolbarAtDefault(bar);
    }
}

std::array<TExtToolbar*, kToolbarCount> TFormVusk::Toolbars() const
{
    std::array<TExtToolbar*, kToolbarCount> bars{};
    for (int i = 0; i < kToolbarCount; ++i)
        bars[i] = this->*kToolbars[i].Field;
    return bars;
}

void TFormVusk::DockToolbarAtDefault(TExtToolbar* bar)
{
    for (const TToolbarEntry& entry : kToolbars)
        if (this->*entry.Field == bar) {
            bar->SetDockRow(entry.Row);
            bar->SetDockPos(entry.Order);
            bar->SetCurrentDock(SkinDock2);
        }
}
