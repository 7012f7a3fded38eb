#include "ShellTreeView.h"

#include "BackgroundWork.h"
#include "FileNames.h"
#include "FilePaths.h"
#include "TextUtils.h"

#include <algorithm>

namespace {

bool ShownEntry(const WIN32_FIND_DATAA& found)
{
    const AnsiString name = found.cFileName;
    return name != "." && name != ".." && !(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
}

// Folders first, then files, each by name without regard to case.
bool ListedBefore(const TShellEntry& a, const TShellEntry& b)
{
    if (a.IsFolder != b.IsFolder)
        return a.IsFolder;
    return AnsiCompareText(ExtractFileName(a.Path), ExtractFileName(b.Path)) < 0;
}

// The names from the root down to path's last name, and the root ("C:\").
std::vector<AnsiString> NamesBelowRoot(const AnsiString& path, AnsiString& root)
{
    std::vector<AnsiString> names;
    AnsiString rest = ExcludeTrailingBackslash(path);
    for (AnsiString name = ExtractFileName(rest); !name.empty(); name = ExtractFileName(rest)) {
        names.insert(names.begin(), name);
        rest = ExtractFileDir(rest);
    }
    root = IncludeTrailingBackslash(rest);
    return names;
}

} // namespace

struct TShellTreeView::TRoots
{
    HIMAGELIST Images = nullptr;                    // the shell's, never destroyed
    std::vector<std::pair<AnsiString, int>> Drives; // root path, icon
};

TShellTreeView::TRoots TShellTreeView::ReadShellRoots()
{
    TRoots roots;
    roots.Images = ShellSmallImageList();
    char drives[4 * 26 + 2] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof(drives), drives);
    if (length == 0 || length > sizeof(drives))
        return roots;
    for (const char* drive = drives; *drive; drive += lstrlenA(drive) + 1)
        roots.Drives.emplace_back(drive, ShellSmallIconIndex(drive));
    return roots;
}

TShellTreeView::TShellTreeView(TComponent* AOwner) : TTreeView(AOwner) {}

TShellTreeView::~TShellTreeView() = default;

void TShellTreeView::ReadRoots()
{
    if (FRootsReading) {
        FRootsReading->Await();
        return;
    }
    if (!FRootsRead)
        ListRoots(ReadShellRoots());
}

void TShellTreeView::ReadRootsInBackground()
{
    if (FRootsRead || FRootsReading)
        return;
    auto roots = std::make_shared<TRoots>();
    FRootsReading = std::make_unique<TBackgroundWork>([roots] { *roots = ReadShellRoots(); },
                                                      [this, roots] { ListRoots(*roots); });
}

bool TShellTreeView::RootsPending() const
{
    return FRootsReading && FRootsReading->Pending();
}

void TShellTreeView::ListRoots(const TRoots& roots)
{
    if (FRootsRead)
        return;
    FRootsRead = true;
    SetImages(NewShellSmallImages(this, roots.Images));
    Items()->BeginUpdate();
    for (const auto& [drive, icon] : roots.Drives)
        AddEntry(nullptr, nullptr, {drive, true}, icon);
    Items()->EndUpdate();
    if (OnRootsListed)
        OnRootsListed(this);
}

void TShellTreeView::CreateWnd()
{
    // Read first, so that the new window takes the drives in one pass; or
    // shown empty while they are read in the background.
    if (!FRootsReading)
        ReadRoots();
    TTreeView::CreateWnd();
}

AnsiString TShellTreeView::Path(const TTreeNode* node) const
{
    if (!node)
        return {};
    if (!node->Parent())
        return node->Text();
    return IncludeTrailingBackslash(Path(node->Parent())) + node->Text();
}

std::vector<TShellEntry> TShellTreeView::ReadFolder(const AnsiString& folder)
{
    std::vector<TShellEntry> entries;
    const AnsiString base = IncludeTrailingBackslash(folder);
    ForEachFound(base + "*", [&](const WIN32_FIND_DATAA& found) {
        if (!ShownEntry(found))
            return;
        TShellEntry entry{base + found.cFileName,
                          (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
        bool canAdd = true;
        if (OnAddFolder)
            OnAddFolder(this, entry, canAdd);
        if (canAdd)
            entries.push_back(entry);
    });
    std::sort(entries.begin(), entries.end(), ListedBefore);
    return entries;
}

TTreeNode* TShellTreeView::AddEntry(TTreeNode* parent, TTreeNode* before, const TShellEntry& entry,
                                    int icon)
{
    const AnsiString name = parent ? ExtractFileName(entry.Path) : entry.Path;
    TTreeNode* node = before ? Items()->Insert(before, name) : Items()->AddChild(parent, name);
    node->SetImageIndex(icon);
    node->SetSelectedIndex(icon);
    // A folder shows its button until it is read.
    node->SetHasChildren(entry.IsFolder);
    return node;
}

// A node still to be read says it has children but holds none; once read
// it says so only through the children it holds.
void TShellTreeView::Fill(TTreeNode* node)
{
    if (node->Count() > 0 || !node->HasChildren())
        return;
    Items()->BeginUpdate();
    for (const TShellEntry& entry : ReadFolder(Path(node)))
        AddEntry(node, nullptr, entry, ShellSmallIconIndex(entry.Path));
    node->SetHasChildren(false);
    Items()->EndUpdate();
}

bool TShellTreeView::CanExpand(TTreeNode* node)
{
    if (!TTreeView::CanExpand(node))
        return false;
    Fill(node);
    return true;
}

TTreeNode* TShellTreeView::ChildNamed(const TTreeNode* parent, const AnsiString& name) const
{
    const int count = parent ? parent->Count() : Items()->RootCount();
    for (int i = 0; i < count; ++i) {
        TTreeNode* child = parent ? parent->Item(i) : Items()->Root(i);
        if (AnsiCompareText(child->Text(), name) == 0)
            return child;
    }
    return nullptr;
}

bool TShellTreeView::SelectPath(const AnsiString& path)
{
    ReadRoots();
    AnsiString root;
    const std::vector<AnsiString> names = NamesBelowRoot(path, root);
    TTreeNode* node = ChildNamed(nullptr, root);
    for (const AnsiString& name : names) {
        if (!node)
            return false;
        Fill(node);
        TTreeNode* child = ChildNamed(node, name);
        if (child)
            node->Expand(false);
        node = child;
    }
    if (!node)
        return false;
    SetSelected(node);
    node->MakeVisible();
    return true;
}

void TShellTreeView::Refresh(TTreeNode* node)
{
    if (!node || (node->HasChildren() && node->Count() == 0))
        return;
    const AnsiString folder = Path(node);
    if (!DirectoryExists(folder))
        return;
    const std::vector<TShellEntry> entries = ReadFolder(folder);
    Items()->BeginUpdate();
    for (int i = node->Count() - 1; i >= 0; --i) {
        const AnsiString name = node->Item(i)->Text();
        const bool stays = std::any_of(entries.begin(), entries.end(), [&](const TShellEntry& e) {
            return AnsiCompareText(ExtractFileName(e.Path), name) == 0;
        });
        if (!stays)
            node->Item(i)->Delete();
    }
    // What stays is in the entries' order; the new ones go between.
    for (size_t i = 0; i < entries.size(); ++i) {
        TTreeNode* at =
            static_cast<int>(i) < node->Count() ? node->Item(static_cast<int>(i)) : nullptr;
        if (!at || AnsiCompareText(at->Text(), ExtractFileName(entries[i].Path)) != 0)
            AddEntry(node, at, entries[i], ShellSmallIconIndex(entries[i].Path));
    }
    Items()->EndUpdate();
}
