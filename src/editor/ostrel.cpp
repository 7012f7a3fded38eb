// The main window's construction and lifecycle: what it makes when created,
// what it reads and opens when first shown, when closing asks, and what it
// frees.
#include "ostrel.h"

#include "TimingLog.h"

#include "audio/DirectWavEngine.h"
#include "audio/ThdTimer.h"
#include "classlib/Application.h"
#include "classlib/FilePaths.h"
#include "classlib/Graphics.h"
#include "classlib/ScopeExit.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"

#include <exception>
#include <utility>

TFormVusk* FormVusk = nullptr;

namespace {

// The close question: one carriage return between the two sentences.
constexpr const char* kCloseQuestion =
    "リージョンリストに変更があります\rこのまま閉じてもよろしいですか？";
constexpr const char* kCloseQuestionCaption = "警告";

constexpr int kMinimumWidth = 600;
constexpr int kMinimumHeight = 550;

// Posted by the first show: the command line's file is opened once the
// window is on the screen, so that a refusal shows above it; then the
// start is finished.
constexpr UINT kAfterFirstShowMessage = WM_APP + 2;
// Posted by a drop on the waveform: the dropped file is opened once the
// drop is over.
constexpr UINT kOpenDroppedMessage = WM_APP + 3;
// The last of the start waits for a timer of no delay: the system hands
// timers out only when no input and no painting waits.
constexpr UINT_PTR kFinishStartTimer = 1;
// Ends the timing log's paint mark: handed out once no painting waits.
constexpr UINT_PTR kPaintedTimer = 2;

} // namespace

TCommandLineFile CommandLineFileKind(const AnsiString& path)
{
    AnsiString extension = LowerCase(ExtractFileExt(path));
    if (extension == ".wav")
        return TCommandLineFile::Wav;
    if (extension == ".rgl")
        return TCommandLineFile::RegionList;
    return TCommandLineFile::None;
}

TFormVusk::TFormVusk(TComponent* AOwner) : TForm(AOwner)
{
    SetName("FormVusk");
    SetWindowClassName(kMainWindowClassName);
    SetCaption(kApplicationTitle);
    SetBounds(40, 40, 620, 550);
    Constraints()->SetMinWidth(kMinimumWidth);
    Constraints()->SetMinHeight(kMinimumHeight);
    {
        TTimingSpan span("actions");
        CreateActions();
    }
    CreateControls();
    {
        TTimingSpan span("menus");
        CreateMenus();
        CreatePopupMenus();
    }
    {
        TTimingSpan span("toolbars");
        CreateToolbars();
    }
    WireViewEvents();
    WireMouseToolEvents();
    WireRegionListEvents();
    WireRegionCommands();
    WireAutoRegionCommands();
    WireCutBarEvents();
    WirePaneEvents();
    WireRenameEvents();
    WireDocumentEvents();
    WireBounceEvents();
    WireExplorerEvents();
    WireRegionFileCommands();
    WireFileListCommands();
    WireTransportEvents();
    WireCaptureEvents();
    WireFocusMoves();
    WirePreferenceCommand();
    WirePropertyCommands();
    WireCommandRules();
    OnCreate = TNotifyEvent(this, &TFormVusk::FormCreate);
    OnShow = TNotifyEvent(this, &TFormVusk::FormShow);
    OnClose = TCloseEvent(this, &TFormVusk::FormClose);
    OnDestroy = TNotifyEvent(this, &TFormVusk::FormDestroy);
    FinishLoading();
    ReleaseBarLayout();
}

TFormVusk::~TFormVusk()
{
    if (FormVusk == this)
        FormVusk = nullptr;
}

AnsiString TFormVusk::SettingsPath() const
{
    if (!FSettingsPath.empty())
        return FSettingsPath;
    return SettingsPathFor(Application->ExeName());
}

void TFormVusk::FormCreate(TObject* Sender)
{
    TTimingSpan span("oncreate");
    {
        TTimingSpan engine("engine");
        FEngine = new TDirectWavEngine(this);
    }
    FEngine->OnPlayEnd = TNotifyEvent(this, &TFormVusk::EnginePlayEndNotice);
    FDocument.UseEngine(FEngine);
    DropFileTarget1->OnDrop = TDropTargetEvent(this, &TFormVusk::DropFileTarget1Drop);

    InfoPanel->SetDoubleBuffered(true);
    WavePanel->SetDoubleBuffered(true);
    EditList->SetDoubleBuffered(true);
    CutManageList->SetDoubleBuffered(true);

    FOverview = new TBitmap;
    FOverview->SetSize(OverViewImage->Width(), OverViewImage->Height());
    FRecentFiles = new TStringList;
    LoadToolCursors();

    FDocument.CompData().Clear();
    FDocument.AutoRegions().Clear();
    // The benchmarks' mark: the waveform of an opened file reached the
    // screen (not the grey image painted while an open runs: the view has
    // no scale until the waveform is drawn).
    if (TimingLogRequested()) {
        WaveImage->OnPaint = [this](TObject*) {
            if (FileLoaded() && View().SamplesPerPixel > 0)
                LogTiming("wave");
        };
        // Read on a thread of its own after the first show.
        ShellTreeView1->OnRootsListed = [](TObject*) { LogTiming("explorer-listed"); };
        StampPaints();
    }
    Application->ProcessMessages();
}

void TFormVusk::FormShow(TObject* Sender)
{
    // The settings are read once, at the first show.
    if (FShown)
        return;
    FShown = true;
    TTimingSpan span("onshow");
    {
        TTimingSpan span("settings");
        LoadSettings(SettingsPath());
    }
    CloseDocument();
    ResizeWaveImages();
    if (actViewFilelist->Checked())
        ShowFileListWindow();
    PostMessageA(Handle(), kAfterFirstShowMessage, 0, 0);
}

void TFormVusk::StartBackgroundReads()
{
    LookUpOutputDevice();
    ShellTreeView1->ReadRootsInBackground();
}

void TFormVusk::FinishStart()
{
    TTimingSpan span("finishstart");
    FStartRestBegun = true;
    StartBackgroundReads();
    StartDropTarget();
}

bool TFormVusk::StartFinished() const
{
    return FStartRestBegun && !FOutputDevicePending && !ShellTreeView1->RootsPending();
}

void TFormVusk::StartDropTarget()
{
    if (DropFileTarget1->TargetActive())
        return;
    TTimingSpan span("droptarget");
    try {
        DropFileTarget1->Register(WavePanel);
    } catch (const std::exception&) {
        // Without the drop target every other way of opening stays.
    }
}

void TFormVusk::WndProc(TMessage& message)
{
    if (message.Msg == kAfterFirstShowMessage) {
        if (!FCommandLineArgs.empty()) {
            // A region list's regions want the shell's icons, as the reads
            // do: they begin first (the shell starts once for both).
            if (CommandLineFileKind(FCommandLineArgs.front()) == TCommandLineFile::RegionList)
                StartBackgroundReads();
            // The open may ask a question or show its progress: files can be
            // dropped on the window from then on.
            StartDropTarget();
            {
                TTimingSpan open("commandline");
                OpenFileByKind(FCommandLineArgs.front());
            }
            // The file opened reaches the screen before the rest.
            TTimingSpan paint("firstpaint");
            RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        // A click given meanwhile is answered first: the rest would hold it
        // up, on this thread or beside it. With no file, a click is answered
        // even before the first paint, as the system hands out input before
        // painting, and the rest waits for both.
        SetTimer(Handle(), kFinishStartTimer, 0, nullptr);
        return;
    }
    if (message.Msg == WM_TIMER && message.WParam == kFinishStartTimer) {
        KillTimer(Handle(), kFinishStartTimer);
        FinishStart();
        return;
    }
    if (message.Msg == WM_TIMER && message.WParam == kPaintedTimer)
        return; // taken as the paint's end (PaintTaken)
    if (message.Msg == kOpenDroppedMessage) {
        const AnsiString path = std::exchange(FDroppedPath, AnsiString());
        if (!FDocument.Busy() && !path.empty())
            OpenFileByKind(path);
        return;
    }
    // The benchmarks' mark: the main window becomes visible (sent as the
    // show begins, before anything of it is on the screen).
    if (message.Msg == WM_SHOWWINDOW && message.WParam)
        LogTiming("shown");
    if (message.Msg == WM_PARENTNOTIFY && LOWORD(message.WParam) == WM_CREATE)
        LogChildWindowMade(reinterpret_cast<HWND>(message.LParam));
    TForm::WndProc(message);
}

void TFormVusk::CreateHandle()
{
    TTimingSpan span("windows");
    // The docks were arranged when the form was built: while their bars get
    // their windows they wait, and arrange once after.
    SkinDock1->BeginUpdate();
    SkinDock2->BeginUpdate();
    TScopeExit arranged([this] {
        SkinDock2->EndUpdate();
        SkinDock1->EndUpdate();
    });
    TForm::CreateHandle();
}

void TFormVusk::HoldBarLayout(TBarDock* dock)
{
    dock->BeginUpdate();
    FHeldDocks.push_back(dock);
}

void TFormVusk::HoldBarLayout(TBarCustomDockableWindow* bar)
{
    bar->BeginUpdate();
    FHeldBars.push_back(bar);
}

void TFormVusk::HoldBarLayout(TBarCustomToolbar* bar)
{
    HoldBarLayout(static_cast<TBarCustomDockableWindow*>(bar));
    bar->View()->BeginUpdate();
    FHeldViewsOf.push_back(bar);
}

void TFormVusk::ReleaseBarLayout()
{
    TTimingSpan span("barlayout");
    // The views lay out their items, the bars take their sizes; each dock
    // then arranges its rows once. (A view replaced meanwhile was never held.)
    for (TBarCustomToolbar* bar : std::exchange(FHeldViewsOf, {}))
        bar->View()->EndUpdate();
    for (TBarCustomDockableWindow* bar : std::exchange(FHeldBars, {}))
        bar->EndUpdate();
    for (TBarDock* dock : std::exchange(FHeldDocks, {}))
        dock->EndUpdate();
    // Controls at the top line up by their tops: the menu bar's dock above
    // the toolbars' (both empty until now, they had no order).
    SkinDock1->SetTop(SkinDock2->Top() - 1);
}

void TFormVusk::LogChildWindowMade(HWND child)
{
    if (!TimingLogRequested())
        return;
    // In the order they are made; each one's own controls follow it.
    const std::pair<TWinControl*, const char*> groups[] = {{SkinDock2, "windows.toolbars"},
                                                           {StatusBar1, "windows.statusbar"},
                                                           {UpperPanel, "windows.sidewave"},
                                                           {EditPanel, "windows.regionlist"},
                                                           {SkinDock1, "windows.menubar"}};
    for (const auto& [control, event] : groups)
        if (control && control->WindowHandle() == child)
            LogTiming(event);
}

void TFormVusk::StampPaints()
{
    FStampingPaints = true;
    Application->OnMessage = [this](MSG& msg, bool&) { PaintTaken(msg); };
}

void TFormVusk::PaintTaken(const MSG& msg)
{
    if (msg.message == WM_PAINT) {
        if (FPaintStamped || !WindowHandle())
            return;
        FPaintStamped = true;
        LogTiming("paint.begin");
        SetTimer(Handle(), kPaintedTimer, 0, nullptr);
    } else if (FPaintStamped && !(HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT)) {
        // Whatever comes next (the timer, or a message before it) comes
        // once the painting is over.
        KillTimer(Handle(), kPaintedTimer);
        FPaintStamped = false;
        LogTiming("paint.end");
    }
}

void TFormVusk::OpenFileByKind(const AnsiString& path)
{
    switch (CommandLineFileKind(path)) {
    case TCommandLineFile::Wav:
        OpenWavFile(path);
        break;
    case TCommandLineFile::RegionList:
        LoadRegionList(path);
        break;
    case TCommandLineFile::None:
        break;
    }
}

void TFormVusk::DropFileTarget1Drop(TObject* Sender, TShiftState Shift, TPoint Point, int& Effect)
{
    if (FDocument.Busy() || DropFileTarget1->Files().empty())
        return;
    // The open may show a question: it runs once the drop has returned, so
    // the program the files come from is not held up meanwhile.
    FDroppedPath = DropFileTarget1->Files().front();
    PostMessageA(Handle(), kOpenDroppedMessage, 0, 0);
}

void TFormVusk::FormClose(TObject* Sender, TCloseAction& Action)
{
    if (FDocument.Busy()) {
        Action = TCloseAction::caNone;
        return;
    }
    if (!MayDiscardRegionList()) {
        Action = TCloseAction::caNone;
        return;
    }
    SaveSettings(SettingsPath());
    CloseDocument();
}

bool TFormVusk::MayDiscardRegionList()
{
    return !FDocument.CloseNeedsQuestion(FOption.NoCaution) ||
           SeamMessageBox(Handle(), kCloseQuestion, kCloseQuestionCaption,
                          MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void TFormVusk::FormDestroy(TObject* Sender)
{
    if (FStampingPaints)
        Application->OnMessage = nullptr;
    ShutDownTransport();
    FreeFileListWindow();
    try {
        DropFileTarget1->Unregister();
    } catch (const std::exception&) {
        // The window is going anyway; its registration goes with it.
    }
    delete FRecentFiles;
    FRecentFiles = nullptr;
    delete FOverview;
    FOverview = nullptr;
    FDocument.MaxData().Clear();
    FDocument.CompData().Clear();
    FDocument.AutoRegions().Clear();
}
