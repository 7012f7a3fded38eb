// The region-list file (".rgl") and the file commands: save, save as and
// add to the file list. The file's rules are RegionFile's and its disk
// side RegionFileDisk's; this file takes the document's lists into it and
// out of it, asks where to save, and keeps the file-list window in step.
#include "ostrel.h"

#include "RegionFileDisk.h"
#include "TimingLog.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FilePaths.h"
#include "classlib/Seams.h"

namespace {

constexpr const char* kRegionListExtension = ".rgl";
constexpr const char* kSaveDialogTitle = "リージョンリストの保存先を選択して下さい";
// One carriage return between the two sentences, as in the close question.
constexpr const char* kSaveOverwriteQuestion =
    "同じ名前のリージョンリストが存在します\r上書きしてもよろしいですか？";
constexpr const char* kSaveOverwriteCaption = "警告";
constexpr const char* kSaveAsOverwriteQuestion =
    "同じ名前のファイルが存在します\rこのまま上書きしてもよろしいですか？";
constexpr const char* kSaveAsOverwriteCaption = "上書き確認";

} // namespace

void TFormVusk::WireRegionFileCommands()
{
    Wire(actFileSave->OnExecute, &TFormVusk::actFileSaveExecute);
    Wire(actFileSaveAs->OnExecute, &TFormVusk::actFileSaveAsExecute);
    Wire(actFileAddFilelist->OnExecute, &TFormVusk::actFileAddFilelistExecute);
}

// --- Save ------------------------------------------------------------------------------------

bool TFormVusk::SaveRegionList(const AnsiString& path)
{
    TRegionListFile list;
    list.WavPath = FEngine->Path();
    for (const TRegionData* region : ListedRegions())
        list.Regions.push_back(*region);
    const TStringList& cutBars = FDocument.CutBars();
    for (int j = 0; j < cutBars.Count(); ++j)
        list.CutBars.push_back(cutBars.Strings(j));
    if (!SaveRegionListFile(path, list)) {
        ShowStatusMessage(RegionFileText::NotSaved, clRed, kStatusMessageMs);
        return false;
    }
    FDocument.MarkSaved();
    ShowStatusMessage(RegionFileText::Saved, clBlue, kStatusMessageMs);
    return true;
}

// --- Load ------------------------------------------------------------------------------------

void TFormVusk::SetCommandLineArgs(std::vector<AnsiString> value)
{
    FCommandLineArgs = std::move(value);
    if (!FCommandLineArgs.empty() &&
        CommandLineFileKind(FCommandLineArgs.front()) == TCommandLineFile::RegionList)
        ReadRegionListInBackground(FCommandLineArgs.front());
}

void TFormVusk::ReadRegionListContent(TRegionListContent& content)
{
    TTimingSpan span("regionlist.read");
    content.Ini = ReadRegionListFile(content.Path);
    if (content.Ini)
        content.Read = ReadRegionList(*content.Ini);
}

void TFormVusk::ReadRegionListInBackground(const AnsiString& path)
{
    FRegionListContent = std::make_shared<TRegionListContent>();
    FRegionListContent->Path = path;
    FRegionListReading = std::make_unique<TBackgroundWork>(
        [content = FRegionListContent] { ReadRegionListContent(*content); }, [] {});
}

TFormVusk::TRegionListContent TFormVusk::TakeRegionListContent(const AnsiString& path)
{
    if (FRegionListContent && FRegionListContent->Path == path) {
        FRegionListReading->Await();
        FRegionListReading.reset();
        return std::move(*std::exchange(FRegionListContent, nullptr));
    }
    TRegionListContent content;
    content.Path = path;
    ReadRegionListContent(content);
    return content;
}

void TFormVusk::LoadRegionList(const AnsiString& path)
{
    const TRegionListContent content = TakeRegionListContent(path);
    const std::optional<TIniContent>& ini = content.Ini;
    if (!ini) {
        ShowStatusMessage(RegionFileText::Broken, clRed, kStatusMessageMs);
        return;
    }
    const AnsiString wavPath =
        LocateRegionListWav(RegionListWavPath(*ini), path,
                            [](const AnsiString& candidate) { return FileExists(candidate); });
    if (wavPath.empty()) {
        ShowStatusMessage(RegionFileText::WavNotFound, clRed, kStatusMessageMs);
        return;
    }
    // Only an open that really took the file goes on: a refused or
    // cancelled one, or the user keeping the present document, ends here.
    if (!OpenWavFile(wavPath))
        return;
    TTimingSpan span("regionlist.items");
    const TRegionFileRead& read = content.Read;
    AddLoadedRegions(read.Regions);
    ShowLoadedCutBars(read.CutBars);
    RedrawWaveFromViewStart();
    if (read.Verdict != TRegionFileVerdict::Loaded) {
        ShowStatusMessage(RegionFileText::Broken, clRed, kStatusMessageMs);
        return;
    }
    AddRecentFile(path);
    SetCursorAfterLoad();
    FDocument.TakeRegionListFile(path);
    ShowDocumentInFileList();
}

void TFormVusk::ShowLoadedCutBars(const std::vector<AnsiString>& cutBars)
{
    FDocument.AddLoadedCutBars(cutBars);
    RefreshCutBarList();
}

// --- Commands --------------------------------------------------------------------------------

AnsiString TFormVusk::ChooseRegionListPath(const AnsiString& proposedPath, const char* question,
                                           const char* questionCaption)
{
    SaveDialog1->SetTitle(kSaveDialogTitle);
    SaveDialog1->SetInitialDir(ExtractFilePath(proposedPath));
    SaveDialog1->SetFileName(ExtractFileName(proposedPath));
    if (!SaveDialog1->Execute(Handle()))
        return "";
    // The name is made a region list's before asking, so the question is
    // about the file that will be written.
    const AnsiString path = ChangeFileExt(SaveDialog1->FileName(), kRegionListExtension);
    if (FileExists(path) &&
        SeamMessageBox(Handle(), question, questionCaption, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return "";
    return path;
}

void TFormVusk::actFileSaveExecute(TObject* Sender)
{
    if (FDocument.Busy() || !FileLoaded())
        return;
    AnsiString path = FDocument.RglPath();
    if (path.empty()) {
        path = ChooseRegionListPath(ChangeFileExt(FEngine->Path(), kRegionListExtension),
                                    kSaveOverwriteQuestion, kSaveOverwriteCaption);
        if (path.empty() || !SaveRegionList(path))
            return;
        AddRecentFile(path);
        FDocument.SetRglPath(path);
    } else if (!SaveRegionList(path)) {
        return;
    }
    ReplaceMarkedEntryByRegionList(path);
}

void TFormVusk::actFileSaveAsExecute(TObject* Sender)
{
    if (FDocument.Busy() || !FileLoaded())
        return;
    const AnsiString proposed = FDocument.RglPath().empty()
                                    ? ChangeFileExt(FEngine->Path(), kRegionListExtension)
                                    : FDocument.RglPath();
    const AnsiString path =
        ChooseRegionListPath(proposed, kSaveAsOverwriteQuestion, kSaveAsOverwriteCaption);
    if (path.empty() || !SaveRegionList(path))
        return;
    AddRecentFile(path);
    AddDocumentToFileList(path);
}

void TFormVusk::actFileAddFilelistExecute(TObject* Sender)
{
    if (!FileLoaded() || !FileListWindowExists())
        return;
    AddDocumentToFileList(FDocument.ListPath());
    if (!actViewFilelist->Checked())
        ShowFileListWindow();
}
