// The main window: the document with its views, lists and panes, every
// command of the editor, and the settings file.
//
// One class, its code split by concern; each section below names its file.
//
//   ostrel.cpp            construction, first show, close and destroy
//   ostrel_layout.cpp     the panes, lists, rename page, status bar, dialogs,
//                         timers and cursors
//   ostrel_actions.cpp    the two action lists, the menus and the toolbars
//   ostrel_commands.cpp   when each action is enabled; the focus moves
//   ostrel_preference.cpp the preferences command
//   ostrel_settings.cpp   the settings file, devices, buffers, display sizes,
//                         master volume, the toolbar lock
//   ostrel_shortcuts.cpp  the SHORTCUT keys, the backup and their withdrawal
//   ostrel_panes.cpp      the side pane switch (explorer, rename, cut bars)
//   ostrel_explorer.cpp   the explorer pane's tree and the files it opens
//   ostrel_mousetools.cpp the mouse tools on the waveform: presses, drags,
//                         the marker drag, the drag-scroll's timer
//   ostrel_cutbars.cpp    cut bars: their list, the cut commands, nudges
//   ostrel_regionlist.cpp the region list: records, items, sorting, the
//                         link with the waveform selection, drag edits
//   ostrel_rename.cpp     renaming regions
//   ostrel_regions.cpp    region commands
//   ostrel_autoregion.cpp regions found by sound level; trim and expand
//   ostrel_document.cpp   open and close of the document, the draw-data
//                         build, the open and close commands
//   ostrel_regionfile.cpp the region-list file, the save commands
//   ostrel_bounce.cpp     the bounce of regions to WAV files
//   ostrel_property.cpp   the file properties, about and help commands
//   ostrel_view.cpp       waveform, ruler and overview
//   ostrel_transport.cpp  playback, play cursor, status and recent files
//   ostrel_filelist.cpp   the file-list window's side of the main window
//   ostrel_capture.cpp    CD ripping and recording
//
// The document's state and its rules are TEditorDocument's, held here as
// one member; the window keeps its controls, its wiring, its handlers and
// what it shows besides (playback, the tool, the panes, the settings). The
// other windows go through the document and the window's functions; they
// read the settings record directly.
#pragma once

#include "CommandRules.h"
#include "CommandShortCuts.h"
#include "CursolImage.h"
#include "CursolListView.h"
#include "DrawData.h"
#include "EditorDocument.h"
#include "FocusRules.h"
#include "LevelData.h"
#include "LevelDetect.h"
#include "MouseTools.h"
#include "RegionCommands.h"
#include "RegionFile.h"
#include "RegionList.h"
#include "RenameRules.h"
#include "Settings.h"
#include "StoredGeometry.h"
#include "StoredSettings.h"
#include "ViewGeometry.h"

#include "audio/WavHeader.h"

#include "controls/DropTarget.h"
#include "controls/ExtControls.h"
#include "controls/ExtItem.h"
#include "controls/ExtTabs.h"
#include "controls/FlatSplitter.h"
#include "controls/NumEdit.h"
#include "themes/SkinSwitcher.h"

#include "classlib/Actions.h"
#include "classlib/BackgroundWork.h"
#include "classlib/Dialogs.h"
#include "classlib/Form.h"
#include "classlib/Label.h"
#include "classlib/ListView.h"
#include "classlib/Panel.h"
#include "classlib/ScrollBar.h"
#include "classlib/ShellTreeView.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Timer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TBounceFolder;
class TDirectWavEngine;
class TThreadedTimer;
class TBitmap;
class TIniFile;
class TForm6;
class TForm10;
struct TShortCutRecord;

// The single-instance rule: the mutex a running program holds, and the
// window class a second start looks for.
constexpr const char* kInstanceMutexName = "Vusk Application";
constexpr const char* kMainWindowClassName = "TFormVusk";
// The application title, also the main window's caption with no file open.
constexpr const char* kApplicationTitle = "Zandrel";

// The toolbars in SkinDock2.
constexpr int kToolbarCount = 5;
// Indexes of the toolbar images that show the chase and loop states.
constexpr int kChaseOnImage = 11;
constexpr int kChaseOffImage = 19;
constexpr int kLoopOnImage = 22;
constexpr int kLoopOffImage = 23;

// What the command-line argument asks for, by its extension (ASCII case
// ignored).
enum class TCommandLineFile
{
    None,
    Wav,
    RegionList
};
TCommandLineFile CommandLineFileKind(const AnsiString& path);

class TFormVusk : public TForm
{
public:
    explicit TFormVusk(TComponent* AOwner);
    ~TFormVusk() override;

    // =====================================================================
    // Controls, menus and actions (ostrel_layout.cpp, ostrel_actions.cpp).
    // All are owned by the window as components.
    // =====================================================================

    // --- Menus
    TSkinDock* SkinDock1;      // the menu bar's; it cannot be dragged
    TExtToolbar* MenuBar;      // named "MenuBar"
    TExtSubmenuItem* FileMenu; // recent files follow a separator at index 17
    TExtSubmenuItem* EditMenu;
    TExtSubmenuItem* ViewMenu;
    TExtSubmenuItem* RegionMenu;
    TExtSubmenuItem* AudioMenu;
    TExtSubmenuItem* HelpMenu;
    TExtSubmenuItem* ToolbarMenu; // in the view menu
    TExtItem* ExtItem88;          // "lock the toolbars"
    TExtItem* ExtItem87;          // "show all toolbars"
    TExtSubmenuItem* OutModeMenu; // the five output modes, in the region menu
    TExtSubmenuItem* VolMenu;     // master volume, a radio group
    TExtItem* vol0;
    TExtItem* vol6;
    TExtItem* vol12;
    TExtItem* vol20;
    TExtItem* vol30;
    TExtItem* volmute;
    TExtPopupMenu* EditListPopup;  // region list
    TExtPopupMenu* OutModePopup;   // output mode of the region list's items
    TExtPopupMenu* CutManagePopup; // cut-bar list
    TExtPopupMenu* ToolbarPopup;   // the toolbars' pop-up menu
    TExtItem* ToolbarPopupLock;    // its copy of ExtItem88
    TExtItem* ToolbarPopupShowAll; // its copy of ExtItem87

    // --- Toolbars: the upper dock and its five bars
    TSkinDock* SkinDock2;
    TExtToolbar* FileBar;
    TExtToolbar* ModeBar;
    TExtToolbar* TransportBar;
    TExtToolbar* ZoomBar;
    TExtToolbar* Toolbar;
    // The five, in the order of the dock's rows on a first start.
    std::array<TExtToolbar*, kToolbarCount> Toolbars() const;

    // --- Waveform area
    TPanel* UpperPanel;            // the side pane, its splitter and MasterPanel, side by side
    TPanel* MasterPanel;           // waveform area; its height is a setting
    TFlatSplitter* MasterSplitter; // between the upper row and the region list
    TPanel* WavePanel;             // the file-drop target
    TCursolImage* WaveImage;       // ruler above the wave
    TCursolImage* OverViewImage;
    TScrollBar* ScrollBar1; // in units of 100 samples
    TPanel* InfoPanel;
    TLabel* Label6; // "時間："
    TLabel* Label5; // "リージョン："
    TLabel* Label3; // "サンプル数："
    TLabel* InfoTimeLabel;
    TLabel* InfoRegionLabel;
    TLabel* InfoSampleLabel;
    TButton* FocusBtn; // hidden; holds the focus for the waveform

    // --- Region list
    TPanel* EditPanel; // holds the region list, the full width under the upper row
    TCursolListView* EditList;

    // --- Side pane
    TPanel* ExpPanel;
    TFlatSplitter* FlatSplitter1;
    TShellTreeView* ShellTreeView1;
    TListView* CutManageList;
    TExtTabControl* RenamePage;
    TExtTabSheet* RenameAddTab;    // 0 "追加"
    TExtTabSheet* RenameDelTab;    // 1 "削除"
    TExtTabSheet* RenameChangeTab; // 2 "変換"
    TExtTabSheet* RenameInputTab;  // 3 "連続入力"
    TExtRadioButton* rnAdd1;
    TExtRadioButton* rnAdd2;
    TExtRadioButton* rnAdd3;
    TExtRadioButton* rnDel1;
    TExtRadioButton* rnDel2;
    TExtRadioButton* rnChange1;
    TExtRadioButton* rnChange2;
    TExtRadioButton* rnChange3;
    TNumSpinEdit* rSp1; // serial start
    TNumSpinEdit* rSp2; // digits
    TNumSpinEdit* rSp3; // position
    TNumSpinEdit* rSp4; // count to delete
    TNumEdit* rEd1;     // text to add
    TNumEdit* rEd2;     // text to delete
    TNumEdit* rEd3;     // replace from
    TNumEdit* rEd4;     // replace to
    TNumEdit* rEd5;     // manual input
    TNumEdit* rEd6;     // text added to manual input
    TComboBox* rCb1;    // where to add: before, after
    TComboBox* rCb2;    // where to delete from
    TComboBox* rCb3;    // where to add in manual input
    TExtCheckBox* rCk1; // add rEd6 to manual input
    TSkinButton* GoRnBtn1;
    TSkinButton* GoRnBtn2;
    TSkinButton* GoRnBtn3;
    TLabel* rLb1;  // rSp1
    TLabel* rLb2;  // rSp2
    TLabel* rLb3;  // rEd1
    TLabel* rLb4;  // rCb1
    TLabel* rLb5;  // rEd2
    TLabel* rLb6;  // rCb2
    TLabel* rLb7;  // rSp3, enabled with it
    TLabel* rLb8;  // rSp4
    TLabel* rLb9;  // rEd3
    TLabel* rLb10; // rEd4
    TLabel* rLb11; // rEd5
    TLabel* rLb12; // rEd6
    TLabel* rLb13; // rCb3

    // --- Status bar, dialogs, drop target
    TExtStatusBar* StatusBar1;
    TExtLabelItem* MessageLabel; // its colour through its font settings
    TOpenDialog* OpenDialog1;
    TSaveDialog* SaveDialog1;
    TDropFileTarget* DropFileTarget1;
    TSkinSwitcher* SkinSwitcher1; // the toolbar theme

    // --- Timers
    TThreadedTimer* MainTimer; // 50 ms while playing
    TTimer* BrinkTimer;        // 600 ms, blinks the cursor while stopped
    TTimer* DragScrollTimer;   // 100 ms, scrolls while a drag leaves the waveform
    TTimer* DragEditTimer;     // 50 ms, drag edits in the lists
    TTimer* MesClearTimer;     // clears the status message
    TTimer* PlayEndTimer;      // 100 ms, never started
    TTimer* DebugTimer;        // never started

    // --- Actions, in list order (the SHORTCUT keys and the preferences
    // rely on it)
    TActionList* ActionList;
    TAction* actFileOpen;
    TAction* actFileClose;
    TAction* actFileAddFilelist;
    TAction* actFileSave;
    TAction* actFileSaveAs;
    TAction* actFileRip;
    TAction* actFileLoadList;
    TAction* actFileLoadListFromClp;
    TAction* actFileBounce;
    TAction* actFileBounceSelOnly;
    TAction* actFilePreference;
    TAction* actFileProperty;
    TAction* actFileQuit;
    TAction* actEditCut;
    TAction* actEditCopy;
    TAction* actEditPaste;
    TAction* actEditDouble;
    TAction* actEditDelete;
    TAction* actEditSelAll;
    TAction* actViewFilelist;
    TAction* actViewCutbarlist;
    TAction* actViewExp;
    TAction* actViewRen;
    TAction* actViewZoomIn;
    TAction* actViewZoomOut;
    TAction* actViewZoomAll;
    TAction* actViewZoomRegion;
    TAction* actViewVZoomIn;
    TAction* actViewVZoomOut;
    TAction* actViewChase;
    TAction* actRegionAdd;
    TAction* actRegionEdit;
    TAction* actRegionMerge;
    TAction* actRegionEndWide;
    TAction* actRegionEndShort;
    TAction* actRegionStartShort;
    TAction* actRegionStartWide;
    TAction* actRegionRew;
    TAction* actRegionFwd;
    TAction* actRegionNoChange;
    TAction* actRegionMonoMix;
    TAction* actRegionMonoLeft;
    TAction* actRegionMonoRight;
    TAction* actRegionSwap;
    TAction* actRegionCut;
    TAction* actRegionCut2;
    TAction* actRegionCutToList;
    TAction* actRegionTrim;
    TAction* actRegionExpand;
    TAction* actRegionSet;
    TAction* actToolRegion;
    TAction* actToolCut;
    TAction* actToolErase;
    TAction* actToolSelect;
    TAction* actRegionAuto;
    TAction* actRegionAutoQuick;
    TAction* actRegionClear;
    TAction* actRegionCutClear;
    TAction* actAudioPlay;
    TAction* actAudioRenamePlay;
    TAction* actAudioStop;
    TAction* actAudioRecord;
    TAction* actAudioRew;
    TAction* actAudioFwd;
    TAction* actAudioNRew;
    TAction* actAudioNFwd;
    TAction* actAudioGotoZero;
    TAction* actAudioBack;
    TAction* actAudioNext;
    TAction* actAudioLoop;
    TAction* actHelp;
    TAction* actAbout;
    // Focus moves and the explorer's Enter; fixed shortcuts, never stored.
    TActionList* ActionList1;
    TAction* actTab;    // Tab
    TAction* actTab2;   // Ctrl+Shift+Tab
    TAction* actTab3;   // Shift+Tab
    TAction* actTab4;   // Ctrl+Tab
    TAction* actReturn; // Enter, in the explorer tree only

    // =====================================================================
    // Lifecycle (ostrel.cpp)
    // =====================================================================
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    // Asks before a changed region list is discarded, when something can be
    // lost; true when it may go.
    bool MayDiscardRegionList();
    // Opens a ".wav" file or loads a ".rgl" region list; other names are
    // ignored. Every way of opening a file by its name comes here.
    void OpenFileByKind(const AnsiString& path);
    // Files dropped from the shell on the waveform panel: the first one
    // opens, unless busy.
    void DropFileTarget1Drop(TObject* Sender, TShiftState Shift, TPoint Point, int& Effect);
    // Takes the posted open of the command line's file and the rest of the
    // start after the first show.
    void WndProc(TMessage& message) override;
    // What the first show leaves until the window is on the screen and no
    // input and no painting waits (a timer), each part done once, there or
    // at its first need, whichever comes first: on threads of their own, the
    // output device looked up by its name and the explorer tree's drives
    // (StartBackgroundReads, begun before the open of a region list on the
    // command line); then the waveform's drop target (with OLE).
    void StartBackgroundReads();
    void FinishStart();
    // The start is over: its rest ran, and what it left to other threads
    // reached the window.
    bool StartFinished() const;
    // Registers the waveform panel as the target of files dropped from the
    // shell, starting OLE; done once, after the first show.
    void StartDropTarget();

    // The settings file: beside the program unless set (tests set it
    // before the first show).
    AnsiString SettingsPath() const;
    void SetSettingsPath(const AnsiString& value) { FSettingsPath = value; }
    // The program's arguments after its name; the entry sets them. A region
    // list among them is read on a thread of its own from then on, while
    // the window is made and shown.
    void SetCommandLineArgs(std::vector<AnsiString> value);

    // The document: the open file with its draw data, regions, cut bars,
    // view and selection, and the rules that change them.
    TEditorDocument& Document() { return FDocument; }
    const TEditorDocument& Document() const { return FDocument; }
    // The playback engine; it also holds the open file.
    TDirectWavEngine* Engine() const { return FEngine; }
    // What the window shows and does besides the document, for the other
    // windows to read.
    bool Stopped() const { return FStopped; }
    TTool Tool() const { return FTool; }
    bool RenameMode() const { return FRenameMode; }
    const TEditListStatus& EditListStatus() const { return FEditListStatus; }
    int EditColumn() const { return FEditColumn; }
    TBitmap* Overview() const { return FOverview; }
    const TStringList& RecentFiles() const { return *FRecentFiles; }

private:
    TEditorDocument FDocument;           // the open file and everything kept about it
    TDirectWavEngine* FEngine = nullptr; // owned as a component
    bool FStopped = true;                // nothing plays
    TTool FTool = TTool::Region;         // the mouse tool on the waveform
    bool FRenameMode = false;            // the rename pane is shown
    TEditListStatus FEditListStatus;     // the drag edit of either list
    bool FChase = true;                  // the view follows the play position
    int FEditColumn = 0;                 // the region-list column last double-clicked
    TBitmap* FOverview = nullptr;        // owned: clean copy of the overview
    TStringList* FRecentFiles = nullptr; // owned: recent paths, newest first, at most 10
    // The view state is the document's; the window's code reads it often
    // and changes it through the document's operations.
    const TWaveViewState& View() const { return FDocument.View(); }

public:
    // =====================================================================
    // Document (ostrel_document.cpp)
    // =====================================================================
    // Opens a WAV file as the document; true when it is open afterwards.
    // Every way of opening a file ends here.
    bool OpenWavFile(const AnsiString& path);
    // Empties the document and stops playback: no file from now on.
    void CloseDocument();
    // The document builds the draw data of the file it opens while the
    // processing window shows the progress; once the window has closed,
    // what the build came to.
    TOpenStep WaitForLoading();
    // Opens the open file again after the preferences changed how draw data
    // is made; the regions and cut bars stay. When the draw data cannot be
    // made, the document closes, unless the user keeps a changed region list.
    void ReloadAfterPreference();
    // The open command: a WAV file or a region list chosen in the open
    // dialog.
    void actFileOpenExecute(TObject* Sender);
    // The close command: with no file, closes the window; else closes the
    // document unless the user keeps a changed region list.
    void actFileCloseExecute(TObject* Sender);
    void WireDocumentEvents();

    // =====================================================================
    // Bounce (ostrel_bounce.cpp)
    // =====================================================================
    // Every region, or the selected ones, into the folder chosen in the
    // save dialog.
    void actFileBounceExecute(TObject* Sender);
    void actFileBounceSelOnlyExecute(TObject* Sender);
    // The selected regions dragged from the region list onto a folder of
    // the explorer tree (or onto a file: its folder).
    void ShellTreeView1DragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                                bool& Accept);
    void ShellTreeView1DragDrop(TObject* Sender, TObject* Source, int X, int Y);
    // Writes the regions (the selected ones with selectedOnly) in the list's
    // order as WAV files of their own into folder, in the processing
    // window. Nothing without a file, the folder or regions; refused with a
    // message when the folder's drive has too little space.
    void BounceRegions(const AnsiString& folder, bool selectedOnly);
    void WireBounceEvents();

    // Where a bounce writes: the folder on disk unless set (tests put a
    // folder whose writes fail in its place).
    using TBounceTarget = std::function<std::unique_ptr<TBounceFolder>(const AnsiString& folder)>;
    void SetBounceTarget(TBounceTarget value) { FBounceTarget = std::move(value); }

private:
    TBounceTarget FBounceTarget;

public:
    // =====================================================================
    // Explorer tree (ostrel_explorer.cpp)
    // =====================================================================
    // Folders, and of the files only region lists and WAV files.
    void ShellTreeView1AddFolder(TObject* Sender, const TShellEntry& Entry, bool& CanAdd);
    // Enter, while the tree has the focus, and a double click open the
    // selected file.
    void actReturnExecute(TObject* Sender);
    void ShellTreeView1DblClick(TObject* Sender);
    void ShellTreeView1Enter(TObject* Sender);
    void ShellTreeView1Exit(TObject* Sender);
    void OpenExplorerSelection();
    void WireExplorerEvents();

private:
    void BounceToChosenFolder(bool selectedOnly);
    // The records to bounce, in the list's display order.
    std::vector<TRegionData> RegionsToBounce(bool selectedOnly) const;
    void RunBounceWindow(const AnsiString& folder, const std::vector<TRegionData>& regions);

public:
    // =====================================================================
    // Region-list file and the save commands (ostrel_regionfile.cpp)
    // =====================================================================
    // Writes the region list in its shown order and the cut bars to path;
    // false when it could not (the message is shown, the old file whole).
    bool SaveRegionList(const AnsiString& path);
    // Opens the WAV file a region list names, then takes its regions and
    // cut bars.
    void LoadRegionList(const AnsiString& path);
    void actFileSaveExecute(TObject* Sender);
    void actFileSaveAsExecute(TObject* Sender);
    void actFileAddFilelistExecute(TObject* Sender);
    void WireRegionFileCommands();

private:
    // The save dialog proposing proposedPath; the chosen name with ".rgl"
    // once the question about an existing file (question, caption) got Yes;
    // "" when cancelled or answered No.
    AnsiString ChooseRegionListPath(const AnsiString& proposedPath, const char* question,
                                    const char* questionCaption);
    void ShowLoadedCutBars(const std::vector<AnsiString>& cutBars);
    // A region-list file's content and what it holds.
    struct TRegionListContent
    {
        AnsiString Path;
        std::optional<TIniContent> Ini; // none when the file could not be read
        TRegionFileRead Read;           // from Ini
    };
    // Reads content's file (any thread).
    static void ReadRegionListContent(TRegionListContent& content);
    // Reads path into a content on a thread of its own, for LoadRegionList.
    void ReadRegionListInBackground(const AnsiString& path);
    // path's content: the one read in the background, once it is read, or
    // read now.
    TRegionListContent TakeRegionListContent(const AnsiString& path);
    std::unique_ptr<TBackgroundWork> FRegionListReading; // of FRegionListContent
    std::shared_ptr<TRegionListContent> FRegionListContent;

public:
    // =====================================================================
    // Waveform, ruler and overview; zoom, scroll, chase and relayout
    // (ostrel_view.cpp)
    // =====================================================================
    // --- Drawing (nothing while no file is open)
    // Full redraw from a requested start sample: fixes the view, the
    // scroll bar, the selection columns and the overview frame.
    void DrawWave(std::int32_t start);
    // Redraws the waveform from the current view start.
    void RedrawWaveFromViewStart();
    // Redraws one pixel column below the ruler.
    void DrawWaveRange(int x);
    void DrawTimeRuler();
    // Rebuilds the overview from the whole draw data, then its frame and mark.
    void DrawOverview();
    void DrawOverviewRange();
    void DrawOverviewPosition();
    // The play cursor line at column x, and its removal wherever it is.
    void DrawPlayCursor(int x);
    void ErasePlayCursor();
    void DrawCutBarMark(std::int32_t sample);
    // Paints the mark at column x away; with remove, the cut bar nearest to
    // the column's first sample leaves FCutBars, FModified is set and the
    // cut-bar list view is rebuilt, unless a mark is being dragged.
    void EraseCutBarMark(int x, bool remove);
    // The column of the mark whose colour leads down from (x, y), or -1.
    int HitCutBarMark(int x, int y);
    // Whether the waveform's pixel at (x, y) has the cut-bar colour.
    bool IsCutBarPixel(int x, int y);
    // Drops the selection, redraws its columns and empties the region label.
    void ClearSelection();
    // Redraws the columns whose selected state differs between before and
    // the present selection, and keeps the selection's columns.
    void RedrawSelectionChange(const TWaveViewState& before);
    // Lays the two images and the scroll bar out for an empty panel.
    void ResizeWaveImages();
    // Lays them out again after the panel or the splitter changed size.
    void RelayoutWaveView();

    // --- Conversions over the current view
    int SampleToX(std::int32_t sample) const;
    std::int32_t XToSample(int x, bool last) const;
    bool IsSampleVisible(std::int32_t sample) const;
    std::int32_t MsecToSample(std::int64_t msec) const;
    int MsecToX(std::int64_t msec) const;
    std::int64_t SampleToMsec(std::int32_t sample) const;
    int ScaleLevel(int level) const;
    // The engine holds a playable file.
    bool FileLoaded() const { return FDocument.FileLoaded(); }
    // The open file as the views see it.
    TViewDocument ViewDocument() const { return FDocument.ViewDocument(); }

    // --- Navigation
    void actViewZoomInExecute(TObject* Sender);
    void actViewZoomOutExecute(TObject* Sender);
    void actViewZoomAllExecute(TObject* Sender);
    void actViewZoomRegionExecute(TObject* Sender);
    void actViewVZoomInExecute(TObject* Sender);
    void actViewVZoomOutExecute(TObject* Sender);
    void actViewChaseExecute(TObject* Sender);
    void FormMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos,
                        bool& Handled);
    void ScrollBar1Scroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos);
    void OverViewImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                int Y);
    void WavePanelResize(TObject* Sender);
    void FlatSplitter1Moved(TObject* Sender);
    void FormResize(TObject* Sender);
    // The info panel or one of its values changed size.
    void InfoRowResize(TObject* Sender);
    // Chase on (actViewChase checked, image 11) or off (unchecked, 19).
    void SetChase(bool on);
    // Hooks the handlers above to their controls and actions.
    void WireViewEvents();

    // =====================================================================
    // Mouse tools on the waveform (ostrel_mousetools.cpp)
    // =====================================================================
    // The four tool actions: each checks itself and sets FTool.
    void actToolExecute(TObject* Sender);
    // The screen cursor of the current tool.
    void SetToolCursor();
    void WaveImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void WaveImageMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void WaveImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void WaveImageDblClick(TObject* Sender);
    void WaveImageMouseEnter(TObject* Sender);
    void WaveImageMouseLeave(TObject* Sender);
    void WaveImageCaptureLost(TObject* Sender);
    void DragScrollTimerTimer(TObject* Sender);
    // The one place a press on the waveform ends, whatever ended it: at
    // column x, as a release there does.
    void EndWaveDrag(int x);
    void WireMouseToolEvents();

    const TWaveDrag& WaveDrag() const { return FWaveDrag; }

private:
    TWaveDrag FWaveDrag; // the press on the waveform, while one is tracked
    // Whether (x, y) lies on a cut-bar marker in the ruler: the hand cursor.
    bool OverCutBarMarker(int x, int y);
    void PressMarker(int x, int y);
    void PressErase(int x);
    void PressSelect(int x, TShiftState shift);
    void PressCut(int x);
    void PressRegion(int x, TShiftState shift);
    void MoveMarker(int x);
    void TakeOutDraggedBar();
    void DragRegionSelection(int x);
    void SweepErase(int x);
    // The selection shown anew: its columns redrawn where they changed, the
    // region label and, while playing, the engine's ranges.
    void ShowNewSelection(const TRegionRange& range);
    void EndRegionPress(int x, const TWaveDrag& drag);
    // The cursor to sample: moved as SetPlayPosition moves it while
    // stopped; while playing only the cursor (the engine plays on).
    void PlaceCursorAfterPress(std::int32_t sample);

public:
    // =====================================================================
    // Transport, status and recent files (ostrel_transport.cpp)
    // =====================================================================
    // --- The twelve audio commands
    void actAudioPlayExecute(TObject* Sender);
    void actAudioRenamePlayExecute(TObject* Sender);
    void actAudioStopExecute(TObject* Sender);
    void actAudioGotoZeroExecute(TObject* Sender);
    void actAudioFwdExecute(TObject* Sender);
    void actAudioRewExecute(TObject* Sender);
    void actAudioNFwdExecute(TObject* Sender);
    void actAudioNRewExecute(TObject* Sender);
    void actAudioBackExecute(TObject* Sender);
    void actAudioNextExecute(TObject* Sender);
    void actAudioLoopExecute(TObject* Sender);
    void actAudioRecordExecute(TObject* Sender);

    // --- Play end
    // The engine's play-end callback, on its play-end thread: only posts
    // the end to the main thread, which runs EnginePlayEnd unless the engine
    // is playing again by then.
    void EnginePlayEndNotice(TObject* Sender);
    // Stops playback, if any, and puts the window into the stopped state as
    // the end of playback does (every path that stops the engine outside the
    // stop command goes through it, so the window never stays "playing").
    void HaltPlayback();
    // Back to the stopped state: the position timer off, the blink on. Main
    // thread only (stop calls it directly).
    void EnginePlayEnd(TObject* Sender);

    // --- Play cursor
    // Moves the cursor (clamped to the file, held by the selection's edges)
    // and, while playing, the engine's range.
    void SetPlayPosition(std::int32_t sample);
    void MainTimerTimer(TObject* Sender);
    void BrinkTimerTimer(TObject* Sender);
    void PlayEndTimerTimer(TObject* Sender);

    // --- Status message
    // How long most status messages stay, ms.
    static constexpr int kStatusMessageMs = 3000;
    // Shows text in the status bar in color; clears it after milliseconds
    // unless they are -1.
    void ShowStatusMessage(const AnsiString& text, TColor color, int milliseconds);
    void MesClearTimerTimer(TObject* Sender);

    // --- Recent files
    // Puts a path first in the recent files (at most 10, no duplicates) and
    // rebuilds their File-menu entries.
    void AddRecentFile(const AnsiString& path);
    // The OnClick of the recent-file entries.
    void RecentSelect(TObject* Sender);

    // Hooks the handlers above to their actions and timers.
    void WireTransportEvents();
    // Stops playback and every tick for good; the window is being freed.
    void ShutDownTransport();

private:
    // The hidden window that carries the play-end notice to the main
    // thread; made with the window, on its thread.
    struct TPlayEndWindow
    {
        TPlayEndWindow() = default;
        TPlayEndWindow(const TPlayEndWindow&) = delete;
        TPlayEndWindow& operator=(const TPlayEndWindow&) = delete;
        ~TPlayEndWindow();
        HWND Handle = nullptr; // owned
    };
    bool PlayFocusAllowed() const;
    bool RenamePlayFocusAllowed() const;
    // The window's side of playing from..to: the playing state and the
    // position timer; back to stopped at once when the engine did not start.
    void StartPlaying(std::int32_t from, std::int32_t to);
    void MoveCursorBy(std::int64_t samples);
    // Runs a next or back move with the blink held.
    void MoveCursorToMark(bool forward);
    void DrawCursorAt(std::int32_t sample);
    void RemovePlayCursor();
    void ShowPlayTime();
    void RebuildRecentMenu();
    void PlayEndWindowProc(TMessage& message);
    TPlayEndWindow FPlayEndWindow;

public:
    // =====================================================================
    // Enabling rules and focus moves (ostrel_commands.cpp)
    // =====================================================================
    // What the enabling rules look at now.
    TCommandState CommandState();
    // Gives every action with a rule its update: the rule in the present
    // state, and disabled while the action has no command yet.
    void WireCommandRules();
    void actTabExecute(TObject* Sender);
    void actTab3Execute(TObject* Sender);
    void actTab4Execute(TObject* Sender);
    void WireFocusMoves();

private:
    // The controls the focus moves between, with their names in the rules.
    std::vector<std::pair<TWinControl*, TFocusControl>> FocusControls() const;
    TFocusState FocusState() const;
    // The control of a name in the rules (the waveform's button for one the
    // window does not have).
    TWinControl* FocusControlOf(TFocusControl name) const;
    // Whether the control of a name can take the focus now.
    std::function<bool(TFocusControl)> FocusableNow() const;
    void MoveFocus(const TFocusMove& move);
    void SelectRegionListItem();

public:
    // =====================================================================
    // Preferences (ostrel_preference.cpp)
    // =====================================================================
    void actFilePreferenceExecute(TObject* Sender);
    // The settings and the shortcut assignment into the window.
    void FillPreferences(TForm6& window);
    // What the window reports as changed, after OK.
    void ApplyPreferences(TForm6& window);
    // Every action's shortcut and the assignment from the window's table.
    void ApplyShortCutTable(const std::vector<TShortCutRecord>& table);
    void WirePreferenceCommand();

    // =====================================================================
    // File properties and about (ostrel_property.cpp)
    // =====================================================================
    void actFilePropertyExecute(TObject* Sender);
    void actAboutExecute(TObject* Sender);
    void actHelpExecute(TObject* Sender);
    void actFileQuitExecute(TObject* Sender);
    void WirePropertyCommands();

    // =====================================================================
    // Side panes (ostrel_panes.cpp)
    // =====================================================================
    void actViewExpExecute(TObject* Sender);
    void actViewCutbarlistExecute(TObject* Sender);
    void actViewRenExecute(TObject* Sender);
    void WirePaneEvents();

    // =====================================================================
    // Cut bars (ostrel_cutbars.cpp)
    // =====================================================================
    // Rebuilds CutManageList from FCutBars.
    void RefreshCutBarList();
    // Puts cut bars at samples: their marks, the entries (one sort), the
    // list view; sets FModified.
    void AddCutBar(std::int32_t sample);
    void AddCutBars(const std::vector<std::int32_t>& samples);
    // A cut at sample (the cursor, the cut tool): its bar and, with USE
    // CUTTOADD, the region from the bar before it up to sample - 1.
    void CutAt(std::int32_t sample);
    void actRegionCutExecute(TObject* Sender);
    void actRegionCut2Execute(TObject* Sender);
    void actRegionCutToListExecute(TObject* Sender);
    void actRegionCutClearExecute(TObject* Sender);
    // The selected cut bar leaves the list (the delete command with the
    // cut-bar list focused); FModified stays.
    void DeleteSelectedCutBar();
    // Opens the cut-bar edit window on the selected bar (a double click,
    // or the edit command with the cut-bar list focused).
    void EditSelectedCutBar();
    // Moves the selected cut bar a pixel's worth of samples on or back (the
    // adjust commands with the cut-bar list focused).
    void NudgeCutBar(bool forward);
    void CutManageListSelectItem(TObject* Sender, TListItem* Item, bool Selected);
    void CutManageListMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                int Y);
    void CutManageListContextPopup(TObject* Sender, TPoint MousePos, bool& Handled);
    void CutManageListMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void CutManageListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                              int Y);
    void CutManageListDblClick(TObject* Sender);
    void CutManageListCustomDrawSubItem(TObject* Sender, TListItem* Item, int SubItem,
                                        TCustomDrawState State, bool& DefaultDraw);
    void WireCutBarEvents();

private:
    bool FCutListUpdating = false; // a nudge reorders the list: its selection moves nothing
    // The drag of a cut bar in its list, one tick; and its end.
    void DragCutBarTick(std::int32_t dy);
    void EndCutBarDrag(const TEditListStatus& status);
    // Draws the marks of the cut bars near sample again (a nudge's
    // neighbours).
    void RedrawCutBarMarksNear(std::int32_t sample);

public:
    // =====================================================================
    // Region list (ostrel_regionlist.cpp)
    // =====================================================================
    // --- The door to the regions. Their membership, order and selection
    // are the list view's, and every read and change of them goes through
    // these; the view's items are touched in ostrel_regionlist.cpp alone.
    // Rows count from 0 in the list's present order; -1 is none.
    int RegionCount() const;
    // The record at row; null outside the list.
    TRegionData* RegionAt(int row) const;
    // Every region, in the list's order.
    std::vector<const TRegionData*> ListedRegions() const;
    // The selected rows in order and their records, read from the list at
    // each call, and how many there are.
    std::vector<int> SelectedRegionRows() const;
    std::vector<const TRegionData*> SelectedRegions() const;
    int SelectedRegionCount() const;
    // The selection as the enabling rules see it. The idle step runs them
    // after nearly every input message, and a reading asks the list for
    // each selected item: they see the last reading, read anew only once the
    // list has told of a change of its selection or its rows have changed.
    struct TRegionSelectionReading
    {
        std::vector<int> Rows;                   // the selected rows, in order
        std::vector<const TRegionData*> Regions; // their records
    };
    const TRegionSelectionReading& SelectionForRules() const;
    // The first selected row, and the row with the focus mark.
    int SelectedRegionRow() const;
    int FocusedRegionRow() const;
    // The text row shows in column (the name column shows the caption);
    // empty for a column the row does not show.
    AnsiString RegionText(int row, TRegionColumn column) const;
    // Writes it, when it differs.
    void SetRegionText(int row, TRegionColumn column, const AnsiString& text);
    // Rewrites row's length, start and end texts from its record.
    void ShowRegionTimes(int row);
    // The client rectangle of row's cell in column; empty outside the list.
    TRect RegionCellRect(int row, TRegionColumn column) const;
    // Adds the region start .. end with a default name, volume 1.0 and
    // output mode 0, its row last in the list; sets FModified. Nothing
    // unless 0 <= start < end <= the file's length.
    void AddRegion(std::int32_t start, std::int32_t end);
    // The same for several ranges, one after another (paste), with one
    // look at the default names; the list is updated once.
    void AddRegionRanges(const std::vector<TRegionRange>& ranges);
    // Adds detected regions, numbered consecutively, in one update of the
    // list; a pair whose start is not below its end is skipped.
    void AddRegions(const TAutoRegionList& regions);
    // Regions read from a region-list file, as they were stored, in one
    // update of the list; their volumes show as percentages.
    void AddLoadedRegions(const std::vector<TRegionRecord>& regions);
    // Removes rows from the list and their regions from the document.
    void RemoveRegionRows(const std::vector<int>& rows);
    // Empties the list and the document's regions (unchanged from then on).
    void ClearRegionList();
    // Empties the list once the document has let go of its regions (an
    // open or a close).
    void ClearRegionRows();
    // Selects row; with only, the others lose their selection first.
    void SelectRegionRow(int row, bool only);
    // Gives row the focus mark and scrolls it into view.
    void FocusRegionRow(int row);
    // Every row, or none, selected at once: the list click runs once after.
    void SelectAllRegions();
    void ClearRegionSelection();
    // Sorts the list by one key per row (by the rows' present order), ties
    // keeping their order, without touching the texts.
    void SortRegionListByKeys(const std::vector<AnsiString>& keys);
    // Gives every row as many texts as the list has columns (the rename
    // preview's column comes and goes).
    void FitRegionRowsToColumns();

    // --- The link with the waveform selection
    // The span of the selected regions when two or more are selected, else
    // -1 and -1.
    TRegionRange SelectedRegionSpan() const;
    // While the selection spans a selected region, the first selected region
    // takes the selection's start and end.
    void UpdateRegionFromSelection();
    // The list click: the selected regions become the waveform's selection.
    void EditListClick(TObject* Sender);
    // "length [ start - end ]" of the selection in the region label.
    void ShowSelectionLabel();

    // --- Events of the list
    void EditListColumnClick(TObject* Sender, TListColumn* Column);
    void EditListCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data,
                         int& Compare);
    void EditListSelectItem(TObject* Sender, TListItem* Item, bool Selected);
    // A click or key of the user's, once the list has changed every item of
    // it (a click after select all deselects thousands).
    void EditListUserSelection(TObject* Sender);
    // A range the keyboard selects changes many items, one notification
    // each: the list click runs once, when the loop next waits, not once per
    // item (which reads the whole selection every time).
    void RangeClickTimerTimer(TObject* Sender);
    // The list click waits for the loop to run it.
    bool RangeClickPending() const { return FRangeClickTimer->Enabled(); }
    void EditListMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void EditListMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void EditListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void EditListExit(TObject* Sender);
    void EditListDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                          bool& Accept);
    void EditListDragDrop(TObject* Sender, TObject* Source, int X, int Y);
    void EditListAdvancedCustomDrawItem(TObject* Sender, TListItem* Item, TCustomDrawState State,
                                        TCustomDrawStage Stage, bool& DefaultDraw);
    // The 50 ms tick of a drag edit in either list.
    void DragEditTimerTimer(TObject* Sender);
    void WireRegionListEvents();

    // The sort key: column creation index + 1, negative descending.
    int SortColumn() const { return FSortColumn; }

private:
    TTimer* FRangeClickTimer = nullptr; // owned as a component
    int FSortColumn = 0;
    // A change of many items' selection at once (select all, a deletion)
    // holds the handling of each item's change, and its list click, if any,
    // runs once for the whole.
    int FRegionSelectionHeld = 0;
    class TRegionSelectionHold
    {
    public:
        explicit TRegionSelectionHold(TFormVusk& form) : FForm(form)
        {
            ++FForm.FRegionSelectionHeld;
        }
        ~TRegionSelectionHold() { --FForm.FRegionSelectionHeld; }
        TRegionSelectionHold(const TRegionSelectionHold&) = delete;
        TRegionSelectionHold& operator=(const TRegionSelectionHold&) = delete;

    private:
        TFormVusk& FForm;
    };
    // The last reading of the selection: every reading keeps its result.
    mutable TRegionSelectionReading FSelectionReading;
    mutable bool FSelectionReadingCurrent = false; // no change since it was read
    const TRegionSelectionReading& ReadRegionSelection() const;
    // The selection or the rows changed: the next rule reads the list again.
    void ForgetRegionSelectionReading() { FSelectionReadingCurrent = false; }
    // The list's selection, whole, taken as the waveform's (the list click).
    void TakeRegionListSelection(TObject* Sender);
    // An item for each new record, in one update of the list.
    void AddRegionItems(const std::vector<TRegionData*>& records);
    TListItem* AddRegionItem(TRegionData& record);
    // The column of the region list under a client point, or none.
    std::optional<TRegionColumn> RegionColumnAt(int x, int y) const;
    void BeginRegionDragEdit();
    void DragRegionTick(std::int32_t dy);
    void EndDragEdit();
    // The selection becomes the selected regions (one region, or their
    // span) and is drawn.
    void SelectSelectedRegions();
    // The same for regions already read from the list: their span (one
    // region's own range); nothing for none.
    void SelectRegions(const std::vector<const TRegionData*>& regions);
    // Scrolls the list while items are dragged above or below it.
    void ScrollListBy(int mouseY);
    // Where the region list's items show the open file's icon.
    int RegionIconIndex();
    AnsiString FRegionIconPath;         // the file FRegionIconIndex is for
    int FRegionIconIndex = -1;          // the file's small shell icon, -1 for none
    TImageList* FShellImages = nullptr; // the shell's small icons, shared

public:
    // =====================================================================
    // Renaming regions (ostrel_rename.cpp)
    // =====================================================================
    void AddRenameColumn();
    void RemoveRenameColumn();
    void UpdateRenamePreview();
    void RenamePageActiveTabChange(TObject* Sender, int TabIndex);
    void RenameControlChange(TObject* Sender);
    void GoRnBtnClick(TObject* Sender);
    void rEd5Enter(TObject* Sender);
    void rEd5KeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void RenameEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void RenameEditKeyPress(TObject* Sender, char& Key);
    void actFileLoadListExecute(TObject* Sender);
    void actFileLoadListFromClpExecute(TObject* Sender);
    void LoadRenameLines(const TStrings& lines);

private:
    void WireRenameEvents();
    TRenameSettings RenameSettings() const;
    std::vector<TRenameItem> RenameItems() const;
    std::vector<AnsiString> RenamePreviewTexts() const;
    void ApplyRenameControlsEnabled();
    void RenameRegionItem(int row, const AnsiString& name);
    void FocusManualItem(int row, bool selectOnly);
    void LoadManualInputName(int row);
    TNameKeyFilter FNameKeyFilter; // the rename edit being typed into

public:
    // =====================================================================
    // Region commands (ostrel_regions.cpp)
    // =====================================================================
    // The waveform's selection as a new region.
    void actRegionAddExecute(TObject* Sender);
    // The region edit window on the selected region, or the cut-bar edit
    // window with the cut-bar list focused.
    void actRegionEditExecute(TObject* Sender);
    // Opens the region edit window on the selected region; it writes the
    // record, the item and FModified itself.
    void EditSelectedRegion();
    void actRegionMergeExecute(TObject* Sender);
    void actRegionClearExecute(TObject* Sender);
    void actEditCopyExecute(TObject* Sender);
    void actEditCutExecute(TObject* Sender);
    void actEditPasteExecute(TObject* Sender);
    void actEditDoubleExecute(TObject* Sender);
    void actEditDeleteExecute(TObject* Sender);
    void actEditSelAllExecute(TObject* Sender);
    // The six adjust commands, told apart by their action.
    void actRegionAdjustExecute(TObject* Sender);
    // The five output-mode commands and their enabling and check marks.
    void actRegionOutModeExecute(TObject* Sender);
    void actRegionOutModeUpdate(TObject* Sender);
    // A menu of the output modes opens: their checks show the selection.
    void OutModeMenuPopup(TBarCustomItem* Sender, bool FromLink);
    void EditListDblClick(TObject* Sender);
    // Backspace and the sideways arrows that no command took (see
    // ChildKeyAction).
    bool IsShortCut(WORD key, TShiftState shift) override;
    void WireRegionCommands();
    // With the region list focused, ApplySelectedRegionAudio.
    void ApplyRegionAudio();
    // With exactly one region selected: the list click, the region's volume
    // (times the master volume) and output mode onto the engine, and the
    // selection marked as the region's.
    void ApplySelectedRegionAudio();
    // Master volume and output mode 0 back onto the engine.
    void ResetRegionAudio();

private:
    // The region commands do nothing while busy or without a file.
    bool RegionCommandsReady() const;
    // The focused text or number edit, if one has the focus.
    TNumEdit* FocusedTextEdit() const;
    // The waveform's selection or the selected regions into FRegionClip.
    void CopyRegions();
    void DeleteSelectedRegions();
    void SelectWholeFile();
    void AdjustRegions(TRegionAdjust adjust);
    // The selected regions adjusted; false when none changed.
    bool AdjustSelectedRegions(TRegionAdjust adjust);
    // The cursor or the engine's ranges after an adjust command.
    void FollowAdjustedSelection(TRegionAdjust adjust);

public:
    // =====================================================================
    // Regions found by sound level; trim and expand (ostrel_autoregion.cpp)
    // =====================================================================
    void actRegionAutoQuickExecute(TObject* Sender);
    void actRegionAutoExecute(TObject* Sender);
    void actRegionTrimExecute(TObject* Sender);
    void actRegionExpandExecute(TObject* Sender);
    void actRegionSetExecute(TObject* Sender);
    void WireAutoRegionCommands();

private:
    // FAutoCutPoints as cut bars and, unless cutOnly, the regions between
    // them; the waveform redrawn.
    void AddDetectedCutPoints(bool cutOnly);
    // After an automatic-region command: the file list's region count, and
    // the region list takes the focus with an item selected.
    void FinishDetection();
    // Trim (or expand) of the selection, or of each selected region.
    void FitSelection(bool expand);

public:
    // =====================================================================
    // The file-list window (ostrel_filelist.cpp)
    // =====================================================================
    // Where the file-list window stands and how wide its name column is;
    // read from the settings and written back.
    struct TFileListPlacement
    {
        int Left = 40;
        int Top = 40;
        int Width = 280;
        int Height = 200;
        int NameWidth = 160;
    };
    void CreateFileListWindow();
    void ShowFileListWindow();
    // The window exists (it may be hidden).
    bool FileListWindowExists() const;
    // Adds a file to the window's list (its own rules decide whether it
    // takes it); nothing without the window.
    void AddToFileList(const AnsiString& path);
    // The region count of the file list's current entry; nothing without
    // the window.
    void SetFileListRegionCount(int count);
    // The "*" follows the document: on the entry it stands for (FRglPath
    // when set, else the WAV file), scrolled into view, and on no other;
    // on none without a file. The open, the close and the load of a region
    // list come here once they are done.
    void ShowDocumentInFileList();
    // The entry with the "*" loses it; its region count becomes what its
    // file holds.
    void UnmarkFileList();
    // Adds path, the only entry with the "*", with the region list's count.
    void AddDocumentToFileList(const AnsiString& path);
    // A region list saved for the first time takes the place of the entry
    // with the "*" unless that entry is a region list already.
    void ReplaceMarkedEntryByRegionList(const AnsiString& regionListPath);
    // The window's own place once it exists.
    TFileListPlacement FileListPlacement() const;
    void SetFileListPlacement(const TFileListPlacement& value);
    // The window, or null before the settings made it.
    TForm10* FileListWindow() const { return FFileListWindow; }
    // Shows the window when it is hidden and hides it when it is shown; the
    // action's check follows.
    void actViewFilelistExecute(TObject* Sender);
    // Ctrl+Shift+Tab: the focus goes to the file-list window while it is shown.
    void actTab2Execute(TObject* Sender);
    // The explorer tree's selected path, or the WAV file of the file list's
    // selected entry, dragged onto the waveform or the overview opens.
    AnsiString DraggedPath(TObject* Source) const;
    void WaveImageDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                           bool& Accept);
    void WaveImageDragDrop(TObject* Sender, TObject* Source, int X, int Y);
    void WireFileListCommands();
    // Frees the window, which writes its list under the present SAVE FILELIST.
    void FreeFileListWindow();

    // =====================================================================
    // CD ripping and recording (ostrel_capture.cpp); the recording command
    // is one of the audio commands above
    // =====================================================================
    void actFileRipExecute(TObject* Sender);
    void WireCaptureEvents();

    // =====================================================================
    // Settings file (ostrel_settings.cpp)
    // =====================================================================
    void LoadSettings(const AnsiString& path);
    // False when nothing could be written (the message was shown).
    bool SaveSettings(const AnsiString& path);
    void ApplyAudioDevice();
    // Looks the output device up by its name (the device list is slow to
    // read at start) when the first show left it for later; waits for the
    // lookup begun after the show (LookUpOutputDevice) instead.
    void EnsureOutputDevice();
    void ApplyBufferSize();
    void ApplyDispSize();
    // Places the info panel's labels for the panel's width and their texts.
    void PlaceInfoLabels();
    void ApplyMarkSize();
    void vol0Click(TObject* Sender);
    void ExtItem88Click(TObject* Sender);
    void ExtItem87Click(TObject* Sender);
    // The settings record; the file-list window reads it too.
    TOption FOption;
    double MasterVolume() const { return FMasterVolume; }
    int MarkHeight() const { return FMarkHeight; }
    int MarkHalf() const { return FMarkHalf; }

private:
    // Reads the device list on a thread of its own, then looks the output
    // device up in it, unless that was done.
    void LookUpOutputDevice();
    // Sets the engine's device to the one OUTDEVICE names in devices, unless
    // it was set since the settings were read.
    void TakeOutputDevices(const std::vector<AnsiString>& devices);

    double FMasterVolume = 1.0;                     // engine volume of the checked volume item
    bool FOutputDevicePending = false;              // OUTDEVICE read, its device not looked up yet
    std::unique_ptr<TBackgroundWork> FDeviceLookup; // begun after the first show
    int FMarkHeight = 14;                           // ruler height, pixels
    int FMarkHalf = 7;                              // half of it: the ruler's label font size

public:
    // =====================================================================
    // Command shortcuts (ostrel_shortcuts.cpp)
    // =====================================================================
    // False withdraws the shortcuts a text edit takes over; True puts the
    // user's assignment back.
    void SuspendShortCuts(bool restore);
    // Withdraws the shortcuts that are Enter alone (while the explorer tree
    // has the focus, Enter opens its file); SuspendShortCuts(true) gives
    // them back.
    void WithdrawEnterShortCuts();
    // The OnEnter and OnExit of the rename page's edits.
    void rEd1Enter(TObject* Sender);
    void rEd1Exit(TObject* Sender);
    const TShortCutbackup& ShortCuts() const { return FShortCuts; }

private:
    TShortCutbackup FShortCuts;

    // Sets a control's or an action's event to one of the window's handlers.
    template <class Event, class Method> void Wire(Event& event, Method method)
    {
        event = Event(this, method);
    }
    // --- ostrel.cpp
    // Makes the window and every control's window in one pass (at the first
    // need of a handle), marked in the timing log. Their display contexts are
    // the window thread's alone: a context asked for on another thread while
    // the window is shown can keep the surface the window had before, and a
    // paint through it never reaches the screen.
    void CreateHandle() override;
    // The timing log's mark of a group of controls whose window was just
    // made (a child of the form: the rest of the group follows it).
    void LogChildWindowMade(HWND child);
    // The timing log's marks of each paint of the window's thread: from the
    // first WM_PAINT it takes ("paint.begin") to the first other message
    // taken while no painting waits ("paint.end"; a timer of no delay, which
    // the system hands out only then, makes sure one comes).
    void StampPaints();
    void PaintTaken(const MSG& msg);
    // The toolbars and their docks lay themselves out once, when the window
    // is built, not at every item, bar and window made before.
    void HoldBarLayout(TBarDock* dock);
    void HoldBarLayout(TBarCustomDockableWindow* bar);
    // A toolbar's view too lays its items out once, not at every item added.
    void HoldBarLayout(TBarCustomToolbar* bar);
    void ReleaseBarLayout();
    std::vector<TBarDock*> FHeldDocks;
    std::vector<TBarCustomDockableWindow*> FHeldBars;
    std::vector<TBarCustomToolbar*> FHeldViewsOf;
    // --- ostrel_layout.cpp
    void CreateControls();
    void CreateStatusBar();
    void SetMasterPanelHeight(int value);
    void CreateWaveArea();
    void CreateRegionList();
    void CreateSidePane();
    void CreateExplorerTree();
    void CreateRenamePage();
    void CreateDialogs();
    void CreateTimers();
    void LoadToolCursors();
    // --- ostrel_actions.cpp
    void CreateActions();
    void CreateMenus();
    void CreatePopupMenus();
    void CreateToolbars();
    // Docks a toolbar in the row and place a first start gives it.
    void DockToolbarAtDefault(TExtToolbar* bar);
    TExtSubmenuItem* AddSubmenu(TBarCustomItem* parent, const char* name,
                                const AnsiString& caption);
    // Extended items of the toolkit's menus, owned by the window: one
    // linked to an action, or a named one with a click handler of its own.
    TExtItem* AddBarItem(TBarCustomItem* parent, TAction* action);
    TExtItem* AddBarItem(TBarCustomItem* parent, const char* name, const AnsiString& caption,
                         void (TFormVusk::*onClick)(TObject*));
    void AddBarItems(TBarCustomItem* parent, std::initializer_list<TAction*> actions);
    void AddBarSeparator(TBarCustomItem* parent);
    // --- ostrel_panes.cpp
    void ShowSidePane(TAction* paneAction, TWinControl* pane);
    void HideSidePane();
    // --- ostrel_settings.cpp
    // The master-volume items, in step order.
    std::array<TExtItem*, kMasterVolumeStepCount> VolumeItems() const;
    // ApplyAudioDevice's steps after the device: buffer size and count.
    void ApplyBufferSettings();
    void SetOutputDevice(std::uint32_t deviceId);
    void ApplyFormKeys(const TFormKeys& form);
    TGeometryLimits GeometryLimitsFor(const TStoredGeometry& stored) const;
    void ApplyRenameKeys(const TRenameKeys& rename);
    // What the window holds now, as the settings file keeps it.
    TStoredSettings StoredSettingsNow(bool allowDrag);
    TFormKeys FormKeysNow() const;
    TRenameKeys RenameKeysNow() const;
    void SetLoopState(bool on);
    void ShowToolbarLock();
    void SaveToolbarPositions(const AnsiString& path);
    void RestoreToolbarPositions(const AnsiString& path);
    bool CanWriteSettingsFolder(const AnsiString& path) const;
    void WriteSettingsFile(const AnsiString& path, bool allowDrag);
    // --- ostrel_document.cpp
    // The close command before an open; false when the file stays open.
    bool CloseBeforeOpen();
    void EndWaveDragBeforeOpen();
    // Stops playback and the timers before the engine loads a file.
    void HaltForLoad();
    // The draw settings, with the waveform's width in columns.
    TOpenSettings OpenSettings(int waveWidth) const;
    // The message of a refused open.
    void ShowRefusal(TWavRefusal refusal);
    // Draws the loaded file and readies playback.
    void ShowLoadedWave();
    // After a failed reload: the document stays, without draw data.
    void KeepDocumentWithoutDrawData();
    // The window without a document: no timers, a grey overview, empty
    // labels and lists, the bare caption.
    void ShowNoDocument();
    // Empty the cut bars and their list view.
    void ClearCutBars();
    void FocusWave();
    // The tool's cursor over the waveform, else the default one.
    void SetCursorAfterLoad();
    // The red "could not open" message.
    void ShowOpenFailed();
    // --- ostrel_shortcuts.cpp
    void ApplyStoredShortCuts(const std::vector<TShortCut>& shortCuts);
    // Every action's shortcut, those withdrawn while typing given back.
    std::vector<TShortCut> ShortCutsToStore();
    void TakeShortCutBackup();
    // Withdraws every shortcut withdrawn() names (never one marked to stay).
    void WithdrawShortCuts(bool (*withdrawn)(TShortCut));

    bool FShown = false;                      // the first show has run
    bool FStartRestBegun = false;             // FinishStart has run
    bool FStampingPaints = false;             // StampPaints has run
    bool FPaintStamped = false;               // a paint's begin is in the timing log
    AnsiString FSettingsPath;                 // empty: beside the program
    std::vector<AnsiString> FCommandLineArgs; // after the program's name
    AnsiString FDroppedPath;                  // the drop's file, until its open runs
    TFileListPlacement FFileListPlacement;
    TForm10* FFileListWindow = nullptr; // owned; made with the settings
};

// The main window of the program.
extern TFormVusk* FormVusk;
