#include "Dialogs.h"

#include "Graphics.h"
#include "Seams.h"

#include <commdlg.h>
#include <utility>

namespace {

constexpr std::pair<TOpenOption, DWORD> kSystemFlags[] = {
    {ofReadOnly, OFN_READONLY},
    {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
    {ofHideReadOnly, OFN_HIDEREADONLY},
    {ofNoChangeDir, OFN_NOCHANGEDIR},
    {ofNoValidate, OFN_NOVALIDATE},
    {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
    {ofPathMustExist, OFN_PATHMUSTEXIST},
    {ofFileMustExist, OFN_FILEMUSTEXIST},
    {ofCreatePrompt, OFN_CREATEPROMPT},
    {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
    {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
    {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
    {ofEnableSizing, OFN_ENABLESIZING},
    {ofDontAddToRecent, OFN_DONTADDTORECENT},
    {ofForceShowHidden, OFN_FORCESHOWHIDDEN},
};

DWORD SystemFlags(TOpenOptions options)
{
    DWORD flags = 0;
    for (const auto& [option, flag] : kSystemFlags) {
        if (options & option)
            flags |= flag;
    }
    return flags;
}

} // namespace

HWND TCommonDialog::OwnerWindow(HWND owner)
{
    return owner ? owner : GetActiveWindow();
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

bool TOpenDialog::Execute(HWND owner)
{
    TFileDialogRequest request;
    request.Save = IsSaveDialog();
    request.Owner = OwnerWindow(owner);
    request.Title = FTitle;
    request.Filter = FFilter;
    request.FilterIndex = FFilterIndex;
    request.InitialDir = FInitialDir;
    request.FileName = FFileName;
    request.DefaultExt = FDefaultExt;
    request.Flags = SystemFlags(FOptions);
    FFiles.clear();
    if (!Seams().FileDialog(request))
        return false;
    FFileName = request.FileName;
    FFilterIndex = request.FilterIndex;
    FFiles = request.Files;
    if (FFiles.empty())
        FFiles.push_back(FFileName);
    return true;
}

bool TColorDialog::Execute(HWND owner)
{
    TColorDialogRequest request;
    request.Owner = OwnerWindow(owner);
    request.Color = static_cast<TColor>(ColorToRGB(FColor));
    request.CustomColors = FCustomColors;
    if (!Seams().ColorDialog(request))
        return false;
    FColor = request.Color;
    FCustomColors = request.CustomColors;
    return true;
}

bool TFolderDialog::Execute(HWND owner)
{
    TFolderDialogRequest request;
    request.Owner = OwnerWindow(owner);
    request.Title = FTitle;
    request.Folder = FFolder;
    if (!Seams().FolderDialog(request))
        return false;
    FFolder = request.Folder;
    return true;
}
