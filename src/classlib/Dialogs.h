// The standard dialogs as components. Every Execute goes through the class
// library's seams (Seams.h): the program shows the system's dialogs, tests
// answer them.
//
//   TCommonDialog  the base: Execute
//   TOpenDialog    choose one existing file, or several
//   TSaveDialog    choose the name of a file to write
//   TColorDialog   choose a colour, with the sixteen custom colours
//   TFolderDialog  choose a folder
#pragma once

#include "Object.h"

#include <vector>
#include <windows.h>

// Options of the file dialogs (each one of the system's OFN_ flags).
enum TOpenOption : unsigned
{
    ofReadOnly = 1u << 0,
    ofOverwritePrompt = 1u << 1,
    ofHideReadOnly = 1u << 2,
    ofNoChangeDir = 1u << 3,
    ofNoValidate = 1u << 4,
    ofAllowMultiSelect = 1u << 5,
    ofPathMustExist = 1u << 6,
    ofFileMustExist = 1u << 7,
    ofCreatePrompt = 1u << 8,
    ofNoReadOnlyReturn = 1u << 9,
    ofNoTestFileCreate = 1u << 10,
    ofNoDereferenceLinks = 1u << 11,
    ofEnableSizing = 1u << 12,
    ofDontAddToRecent = 1u << 13,
    ofForceShowHidden = 1u << 14,
};
using TOpenOptions = unsigned;

class TCommonDialog : public TComponent
{
public:
    using TComponent::TComponent;
    // Shows the dialog, owned by owner (when null: the active window of the
    // calling thread). True when the person chose, false on cancel.
    virtual bool Execute(HWND owner = nullptr) = 0;

protected:
    static HWND OwnerWindow(HWND owner);
};

class TOpenDialog : public TCommonDialog
{
public:
    explicit TOpenDialog(TComponent* AOwner);
    bool Execute(HWND owner = nullptr) override;

    // The chosen file (the first of several); also the name proposed.
    const AnsiString& FileName() const { return FFileName; }
    void SetFileName(const AnsiString& value) { FFileName = value; }
    // Every chosen file, in the dialog's order; empty after a cancel.
    const std::vector<AnsiString>& Files() const { return FFiles; }
    // "Text|*.txt|All|*.*"
    const AnsiString& Filter() const { return FFilter; }
    void SetFilter(const AnsiString& value) { FFilter = value; }
    // The chosen filter, counted from 1.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int value) { FFilterIndex = value; }
    const AnsiString& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const AnsiString& value) { FInitialDir = value; }
    // Appended when the person types a name without extension ("wav").
    const AnsiString& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const AnsiString& value) { FDefaultExt = value; }
    // The caption; empty: the system's.
    const AnsiString& Title() const { return FTitle; }
    void SetTitle(const AnsiString& value) { FTitle = value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions value) { FOptions = value; }

protected:
    virtual bool IsSaveDialog() const { return false; }

private:
    AnsiString FFileName;
    std::vector<AnsiString> FFiles;
    AnsiString FFilter;
    int FFilterIndex = 1;
    AnsiString FInitialDir;
    AnsiString FDefaultExt;
    AnsiString FTitle;
    TOpenOptions FOptions = ofHideReadOnly | ofEnableSizing;
};

class TSaveDialog : public TOpenDialog
{
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSaveDialog() const override { return true; }
};

class TColorDialog : public TCommonDialog
{
public:
    using TCommonDialog::TCommonDialog;
    bool Execute(HWND owner = nullptr) override;

    // The chosen colour; a system colour is offered as its present RGB value.
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    // Up to sixteen custom colours, kept between runs of the dialog.
    const std::vector<TColor>& CustomColors() const { return FCustomColors; }
    void SetCustomColors(const std::vector<TColor>& value) { FCustomColors = value; }

private:
    TColor FColor = clBlack;
    std::vector<TColor> FCustomColors;
};

class TFolderDialog : public TCommonDialog
{
public:
    using TCommonDialog::TCommonDialog;
    bool Execute(HWND owner = nullptr) override;

    // The text shown above the folder tree.
    const AnsiString& Title() const { return FTitle; }
    void SetTitle(const AnsiString& value) { FTitle = value; }
    // The chosen folder; also the folder proposed.
    const AnsiString& Folder() const { return FFolder; }
    void SetFolder(const AnsiString& value) { FFolder = value; }

private:
    AnsiString FTitle;
    AnsiString FFolder;
};
