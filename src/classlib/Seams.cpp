#include "Seams.h"

#include "FilePaths.h"
#include "OleStart.h"

#include <commdlg.h>
#include <cstdio>
#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>

namespace {

int SystemMessageBox(const TMessageBoxRequest& r)
{
    if (r.Wide)
        return MessageBoxW(r.Owner, r.WideText.c_str(), r.WideCaption.c_str(), r.Flags);
    return MessageBoxA(r.Owner, r.Text.c_str(), r.Caption.c_str(), r.Flags);
}

// "Text|*.txt|All|*.*" becomes "Text\0*.txt\0All\0*.*\0\0". The bar never
// occurs as a trail byte in a filter's names in practice, but walk by
// character anyway.
AnsiString SystemFilter(const AnsiString& filter)
{
    AnsiString out;
    for (size_t i = 0; i < filter.size(); ++i) {
        unsigned char c = filter[i];
        if (IsDBCSLeadByte(c) && i + 1 < filter.size()) {
            out += filter[i];
            out += filter[++i];
        } else {
            out += (c == '|') ? '\0' : filter[i];
        }
    }
    out += '\0';
    out += '\0';
    return out;
}

bool SystemFileDialog(TFileDialogRequest& r)
{
    StartOle();
    AnsiString filter = SystemFilter(r.Filter);
    std::vector<char> buffer(64 * 1024, '\0');
    r.FileName.copy(buffer.data(), std::min(r.FileName.size(), buffer.size() - 1));
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = r.Owner;
    ofn.lpstrFilter = r.Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = r.FilterIndex;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = r.InitialDir.empty() ? nullptr : r.InitialDir.c_str();
    ofn.lpstrTitle = r.Title.empty() ? nullptr : r.Title.c_str();
    ofn.lpstrDefExt = r.DefaultExt.empty() ? nullptr : r.DefaultExt.c_str();
    ofn.Flags = r.Flags | OFN_EXPLORER;
    BOOL ok = r.Save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok)
        return false;
    r.FilterIndex = ofn.nFilterIndex;
    r.Files = FileDialogFiles(buffer.data(), ofn.nFileOffset);
    r.FileName = r.Files.front();
    return true;
}

bool SystemColorDialog(TColorDialogRequest& r)
{
    COLORREF custom[16] = {};
    for (size_t i = 0; i < r.CustomColors.size() && i < 16; ++i)
        custom[i] = static_cast<COLORREF>(r.CustomColors[i]);
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = r.Owner;
    cc.rgbResult = static_cast<COLORREF>(r.Color);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&cc))
        return false;
    r.Color = static_cast<TColor>(cc.rgbResult);
    r.CustomColors.assign(custom, custom + 16);
    return true;
}

bool SystemFolderDialog(TFolderDialogRequest& r)
{
    StartOle();
    BROWSEINFOA bi = {};
    bi.hwndOwner = r.Owner;
    bi.lpszTitle = r.Title.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST list = SHBrowseForFolderA(&bi);
    if (!list)
        return false;
    char path[MAX_PATH] = {};
    BOOL ok = SHGetPathFromIDListA(list, path);
    CoTaskMemFree(list);
    if (!ok)
        return false;
    r.Folder = path;
    return true;
}

intptr_t SystemShellExecute(const TShellExecuteRequest& r)
{
    StartOle();
    auto nullIfEmpty = [](const AnsiString& s) { return s.empty() ? nullptr : s.c_str(); };
    return reinterpret_cast<intptr_t>(
        ShellExecuteA(r.Owner, nullIfEmpty(r.Operation), r.File.c_str(),
                      nullIfEmpty(r.Parameters), nullIfEmpty(r.Directory), r.ShowCommand));
}

std::int64_t SystemDiskFree(const AnsiString& path)
{
    ULARGE_INTEGER freeToCaller;
    if (!GetDiskFreeSpaceExA(path.c_str(), &freeToCaller, nullptr, nullptr))
        return -1;
    return static_cast<std::int64_t>(freeToCaller.QuadPart);
}

POINT SystemCursorPos()
{
    POINT p = {};
    GetCursorPos(&p);
    return p;
}

std::vector<AnsiString> SystemWaveOutDevices()
{
    std::vector<AnsiString> names;
    UINT count = waveOutGetNumDevs();
    for (UINT i = 0; i < count; ++i) {
        WAVEOUTCAPSA caps = {};
        waveOutGetDevCapsA(i, &caps, sizeof(caps));
        names.emplace_back(caps.szPname);
    }
    return names;
}

std::vector<AnsiString> SystemWaveInDevices()
{
    std::vector<AnsiString> names;
    UINT count = waveInGetNumDevs();
    for (UINT i = 0; i < count; ++i) {
        WAVEINCAPSA caps = {};
        waveInGetDevCapsA(i, &caps, sizeof(caps));
        names.emplace_back(caps.szPname);
    }
    return names;
}

std::vector<TCDDriveInfo> SystemCDDrives()
{
    std::vector<TCDDriveInfo> drives;
    // An empty drive must answer "no disc", not ask the person to insert one.
    const UINT errorMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i)))
            continue;
        AnsiString root = AnsiString(1, static_cast<char>('A' + i)) + ":\\";
        if (GetDriveTypeA(root.c_str()) != DRIVE_CDROM)
            continue;
        char label[MAX_PATH + 1] = {};
        if (!GetVolumeInformationA(root.c_str(), label, sizeof(label), nullptr, nullptr, nullptr,
                                   nullptr, 0))
            label[0] = '\0';
        drives.push_back({root, label});
    }
    SetErrorMode(errorMode);
    return drives;
}

void SystemCannotHappen(const char* assumption, const char* file, int line)
{
    char text[512];
    std::snprintf(text, sizeof(text), "Cannot happen: %s (%s:%d)\n", assumption, file, line);
    OutputDebugStringA(text);
    if (IsDebuggerPresent())
        DebugBreak();
}

TClassLibSeams SystemSeams()
{
    TClassLibSeams s;
    s.MessageBox = SystemMessageBox;
    s.ModalShown = [](TObject*) {};
    s.FileDialog = SystemFileDialog;
    s.ColorDialog = SystemColorDialog;
    s.FolderDialog = SystemFolderDialog;
    s.ShellExecute = SystemShellExecute;
    s.DiskFree = SystemDiskFree;
    s.TickCount = [] { return GetTickCount(); };
    s.KeyState = [](int vk) { return GetKeyState(vk); };
    s.CursorPos = SystemCursorPos;
    s.WaveOutDevices = SystemWaveOutDevices;
    s.WaveInDevices = SystemWaveInDevices;
    s.CDDrives = SystemCDDrives;
    s.TrackPopupMenu = [](HMENU menu, HWND owner, POINT pos) {
        return static_cast<UINT>(TrackPopupMenuEx(
            menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, pos.x, pos.y, owner, nullptr));
    };
    s.CannotHappen = SystemCannotHappen;
    return s;
}

} // namespace

TClassLibSeams& Seams()
{
    static TClassLibSeams seams = SystemSeams();
    return seams;
}

void ResetSeams()
{
    Seams() = SystemSeams();
}

std::vector<AnsiString> FileDialogFiles(const char* buffer, size_t fileOffset)
{
    AnsiString first = buffer;
    if (fileOffset != first.size() + 1)
        return {first};
    const AnsiString dir = IncludeTrailingBackslash(first);
    std::vector<AnsiString> files;
    for (const char* p = buffer + fileOffset; *p;) {
        const AnsiString name = p;
        files.push_back(dir + name);
        p += name.size() + 1;
    }
    if (files.empty())
        files.push_back(first);
    return files;
}

int SeamMessageBox(HWND owner, const AnsiString& text, const AnsiString& caption, UINT flags)
{
    TMessageBoxRequest r;
    r.Owner = owner;
    r.Text = text;
    r.Caption = caption;
    r.Flags = flags;
    return Seams().MessageBox(r);
}

int SeamMessageBoxW(HWND owner, const WideString& text, const WideString& caption, UINT flags)
{
    TMessageBoxRequest r;
    r.Owner = owner;
    r.WideText = text;
    r.WideCaption = caption;
    r.Wide = true;
    r.Flags = flags;
    return Seams().MessageBox(r);
}

DWORD SeamTickCount()
{
    return Seams().TickCount();
}

bool SeamKeyHeld(int virtualKey)
{
    return Seams().KeyState && Seams().KeyState(virtualKey) < 0;
}
