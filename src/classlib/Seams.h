// The seams: every call that would wait for a person or depend on the host
// goes through one replaceable function here. The program never replaces
// them; tests do, to answer prompts and to fix what the host would report.
//
// Each seam starts out calling the system. Seams() is the one program-wide
// instance; ResetSeams() restores the system calls.
#pragma once

#include "Types.h"

#include <cstdint>
#include <functional>
#include <vector>
#include <windows.h>

class TObject;

struct TMessageBoxRequest
{
    HWND Owner = nullptr;     // not owned
    AnsiString Text;          // ANSI text, used when Wide is false
    AnsiString Caption;
    WideString WideText;      // used when Wide is true
    WideString WideCaption;
    bool Wide = false;
    UINT Flags = MB_OK;
};

struct TFileDialogRequest
{
    bool Save = false;
    HWND Owner = nullptr;
    AnsiString Title;
    AnsiString Filter;        // "Text|*.txt|All|*.*"
    int FilterIndex = 1;      // 1-based, in and out
    AnsiString InitialDir;
    AnsiString FileName;      // in and out
    AnsiString DefaultExt;
    DWORD Flags = 0;          // OFN_ flags
    std::vector<AnsiString> Files;  // out: every chosen file (multi-select)
};

struct TColorDialogRequest
{
    HWND Owner = nullptr;
    TColor Color = 0;                 // in and out
    std::vector<TColor> CustomColors; // in and out, up to 16
};

struct TFolderDialogRequest
{
    HWND Owner = nullptr;
    AnsiString Title;
    AnsiString Folder;        // in and out
};

struct TShellExecuteRequest
{
    HWND Owner = nullptr;
    AnsiString Operation;
    AnsiString File;
    AnsiString Parameters;
    AnsiString Directory;
    int ShowCommand = SW_SHOWNORMAL;
};

// A CD-ROM drive of the system: its root (such as E:\) and volume label
// (empty when it has none or holds no disc).
struct TCDDriveInfo
{
    AnsiString Root;
    AnsiString VolumeLabel;
};

struct TClassLibSeams
{
    // Answers a message box: IDOK, IDYES, IDNO, IDCANCEL...
    std::function<int(const TMessageBoxRequest&)> MessageBox;
    // Called once a modal form is showing, inside its modal loop; a test
    // driver closes the form by setting its ModalResult. The system needs no
    // call here (the person closes the form), so the default does nothing.
    std::function<void(TObject* form)> ModalShown;
    // The standard dialogs: true when the person chose, false on cancel.
    std::function<bool(TFileDialogRequest&)> FileDialog;
    std::function<bool(TColorDialogRequest&)> ColorDialog;
    std::function<bool(TFolderDialogRequest&)> FolderDialog;
    // ShellExecute's result: above 32 on success.
    std::function<intptr_t(const TShellExecuteRequest&)> ShellExecute;
    // Free bytes for the caller on the drive of path; -1 when unknown.
    std::function<std::int64_t(const AnsiString& path)> DiskFree;
    // The system's tick count in ms. The bounded waits on a sound device
    // read it, so a test can run it fast instead of waiting a limit out. Any
    // thread may call it.
    std::function<DWORD()> TickCount;
    // GetKeyState of a virtual key (mouse buttons included).
    std::function<SHORT(int virtualKey)> KeyState;
    // The mouse position in screen coordinates.
    std::function<POINT()> CursorPos;
    // Product names of the wave devices, in device-id order.
    std::function<std::vector<AnsiString>()> WaveOutDevices;
    std::function<std::vector<AnsiString>()> WaveInDevices;
    // The CD-ROM drives among the logical drives, A to Z.
    std::function<std::vector<TCDDriveInfo>()> CDDrives;
    // Runs a pop-up menu's loop at a screen point and answers the command
    // of the chosen item, 0 when none was chosen.
    std::function<UINT(HMENU menu, HWND owner, POINT screenPos)> TrackPopupMenu;
    // Hears a broken "cannot happen" assumption (Checks.h): what was assumed
    // and where. Any thread may call it.
    std::function<void(const char* assumption, const char* file, int line)> CannotHappen;
};

TClassLibSeams& Seams();
void ResetSeams();

// The files in a file dialog's result buffer. fileOffset is where the
// (first) name begins: right after the folder's 0 byte when several files
// were chosen (the folder, then each name, the list ending in two 0 bytes),
// inside the one full path otherwise. What follows a single path's 0 byte
// (the rest of the name the dialog was opened with) is not part of it.
std::vector<AnsiString> FileDialogFiles(const char* buffer, size_t fileOffset);

// Shorthands that go through the seams.
int SeamMessageBox(HWND owner, const AnsiString& text, const AnsiString& caption, UINT flags);
int SeamMessageBoxW(HWND owner, const WideString& text, const WideString& caption, UINT flags);
DWORD SeamTickCount();
// Whether a virtual key (mouse buttons included) is held down now.
bool SeamKeyHeld(int virtualKey);
