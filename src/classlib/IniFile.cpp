#include "IniFile.h"

#include "Exceptions.h"
#include "FilePaths.h"
#include "StringList.h"
#include "Streams.h"
#include "TextUtils.h"

#include <algorithm>
#include <windows.h>

namespace {

enum IniLineKind
{
    ikBlank,
    ikSection,
    ikComment,
    ikPair,
    ikOther
};

// What a trimmed line is; name and value receive a section's name or a
// pair's key and value, trimmed.
IniLineKind IniClassify(const AnsiString& line, AnsiString& name, AnsiString& value)
{
    if (line.empty())
        return ikBlank;
    // "]" must be a character of its own: "[ゾ" ends in the byte 0x5D too.
    if (line[0] == '[' && line.size() >= 2 && IsDelimiter("]", line, line.size() - 1)) {
        name = Trim(line.substr(1, line.size() - 2));
        return ikSection;
    }
    if (line[0] == ';')
        return ikComment;
    size_t eq = AnsiFind(line, "=");
    if (eq == AnsiString::npos)
        return ikOther;
    name = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return ikPair;
}

bool IniHasLineBreak(const AnsiString& s)
{
    return s.find_first_of("\r\n") != AnsiString::npos;
}

// Raises unless the section and the key=value line read back as written.
void IniCheckWritable(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    AnsiString name, back;
    bool ok = !IniHasLineBreak(section) && !IniHasLineBreak(ident) && !IniHasLineBreak(value) &&
              IniClassify("[" + Trim(section) + "]", name, back) == ikSection &&
              name == Trim(section) &&
              IniClassify(Trim(Trim(ident) + "=" + value), name, back) == ikPair &&
              name == Trim(ident) && back == Trim(value);
    if (!ok)
        throw EIniFileException("The INI file cannot hold the key \"" + ident + "\" of [" +
                                section + "] with this name or value");
}

[[noreturn]] void IniRaiseWriteFailure(const AnsiString& fileName, const AnsiString& reason)
{
    throw EIniFileException("Cannot write the INI file \"" + fileName + "\". " + reason);
}

} // namespace

TIniFile::TIniFile(const AnsiString& FileName) : FFileName(FileName)
{
    Load();
}

void TIniFile::Load()
{
    if (FFileName.empty())
        return;
    DWORD attributes = GetFileAttributesA(FFileName.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return;
        throw EIniFileException("Cannot read the INI file \"" + FFileName + "\". " +
                                SysErrorMessage(error));
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return; // no file to read; writing there will fail and say so
    TMemoryStream bytes;
    try {
        bytes.LoadFromFile(FFileName);
    } catch (const Exception& e) {
        throw EIniFileException("Cannot read the INI file \"" + FFileName + "\". " + e.Message());
    }
    Parse(AnsiString(static_cast<const char*>(bytes.Memory()), static_cast<size_t>(bytes.Size())));
}

void TIniFile::Parse(const AnsiString& text)
{
    TStringList lines;
    lines.SetText(text);
    for (int i = 0; i < lines.Count(); ++i) {
        AnsiString line = Trim(lines.Strings(i)), name, value;
        IniLineKind kind = IniClassify(line, name, value);
        if (kind == ikBlank)
            continue;
        if (kind == ikSection)
            FSections.push_back(TIniSection{name, {}});
        else if (FSections.empty())
            FPreamble.push_back(line);
        else if (kind == ikPair)
            FSections.back().Lines.push_back(TIniLine{true, name, value});
        else
            FSections.back().Lines.push_back(TIniLine{false, AnsiString(), line});
    }
}

int TIniFile::FindSection(const AnsiString& Section) const
{
    AnsiString name = Trim(Section);
    for (size_t i = 0; i < FSections.size(); ++i)
        if (SameText(FSections[i].Name, name))
            return static_cast<int>(i);
    return -1;
}

int TIniFile::FindKey(const TIniSection& section, const AnsiString& Ident) const
{
    AnsiString key = Trim(Ident);
    for (size_t i = 0; i < section.Lines.size(); ++i)
        if (section.Lines[i].IsPair && SameText(section.Lines[i].Key, key))
            return static_cast<int>(i);
    return -1;
}

const AnsiString* TIniFile::FindValue(const AnsiString& Section, const AnsiString& Ident) const
{
    int s = FindSection(Section);
    if (s < 0)
        return nullptr;
    int k = FindKey(FSections[s], Ident);
    return k < 0 ? nullptr : &FSections[s].Lines[k].Value;
}

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) const
{
    const AnsiString* value = FindValue(Section, Ident);
    return value ? Trim(*value) : Default;
}

int TIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) const
{
    return StrToIntDef(ReadString(Section, Ident, AnsiString()), Default);
}

bool TIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) const
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default) const
{
    double value;
    return TryTextToFloat(ReadString(Section, Ident, AnsiString()), ".", value) ? value : Default;
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident,
                           const AnsiString& Value)
{
    IniCheckWritable(Section, Ident, Value);
    int s = FindSection(Section);
    if (s < 0) {
        FSections.push_back(TIniSection{Trim(Section), {}});
        s = static_cast<int>(FSections.size()) - 1;
    }
    TIniSection& section = FSections[s];
    int k = FindKey(section, Ident);
    if (k < 0)
        section.Lines.push_back(TIniLine{true, Trim(Ident), Value});
    else
        section.Lines[k].Value = Value;
}

void TIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

void TIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}

void TIniFile::WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value)
{
    WriteString(Section, Ident, FloatToRoundTripText(Value, "."));
}

void TIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) const
{
    TStringsUpdate update(Strings);
    Strings->Clear();
    int s = FindSection(Section);
    if (s >= 0) {
        const TIniSection& section = FSections[s];
        for (size_t i = 0; i < section.Lines.size(); ++i)
            if (section.Lines[i].IsPair && FindKey(section, section.Lines[i].Key) == int(i))
                Strings->Add(section.Lines[i].Key);
    }
}

void TIniFile::ReadSections(TStrings* Strings) const
{
    TStringsUpdate update(Strings);
    Strings->Clear();
    for (size_t i = 0; i < FSections.size(); ++i)
        if (FindSection(FSections[i].Name) == static_cast<int>(i))
            Strings->Add(FSections[i].Name);
}

void TIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) const
{
    TStringList keys;
    ReadSection(Section, &keys);
    TStringsUpdate update(Strings);
    Strings->Clear();
    for (int i = 0; i < keys.Count(); ++i)
        Strings->Add(keys.Strings(i) + "=" + ReadString(Section, keys.Strings(i), AnsiString()));
}

bool TIniFile::SectionExists(const AnsiString& Section) const
{
    return FindSection(Section) >= 0;
}

bool TIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident) const
{
    return FindValue(Section, Ident) != nullptr;
}

void TIniFile::EraseSection(const AnsiString& Section)
{
    AnsiString name = Trim(Section);
    FSections.erase(std::remove_if(FSections.begin(), FSections.end(),
                                   [&](const TIniSection& s) { return SameText(s.Name, name); }),
                    FSections.end());
}

void TIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident)
{
    int s = FindSection(Section);
    if (s < 0)
        return;
    AnsiString key = Trim(Ident);
    auto& lines = FSections[s].Lines;
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const TIniLine& l) { return l.IsPair && SameText(l.Key, key); }),
                lines.end());
}

void TIniFile::Clear()
{
    FPreamble.clear();
    FSections.clear();
}

AnsiString TIniFile::FileText() const
{
    std::vector<AnsiString> blocks;
    if (!FPreamble.empty()) {
        AnsiString block;
        for (const AnsiString& line : FPreamble)
            block += line + "\r\n";
        blocks.push_back(block);
    }
    for (const TIniSection& section : FSections) {
        AnsiString block = "[" + section.Name + "]\r\n";
        for (const TIniLine& line : section.Lines)
            block += (line.IsPair ? line.Key + "=" + line.Value : line.Value) + "\r\n";
        blocks.push_back(block);
    }
    AnsiString text;
    for (size_t i = 0; i < blocks.size(); ++i)
        text += (i > 0 ? "\r\n" : "") + blocks[i];
    return text;
}

void TIniFile::UpdateFile()
{
    if (FFileName.empty())
        IniRaiseWriteFailure(FFileName, "The file has no name");
    AnsiString target = ExpandFileName(FFileName);
    // Replacing a read-only file fails on Windows but not under every
    // emulation of it: refuse it here, the same everywhere.
    DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        IniRaiseWriteFailure(FFileName, SysErrorMessage(ERROR_ACCESS_DENIED));
    AnsiString folder = ExtractFilePath(target);
    char temporary[MAX_PATH + 1] = {};
    if (!GetTempFileNameA(folder.c_str(), "ini", 0, temporary))
        IniRaiseWriteFailure(FFileName, SysErrorMessage(GetLastError()));
    try {
        AnsiString text = FileText();
        TFileStream stream(temporary, fmCreate);
        stream.WriteBuffer(text.data(), static_cast<std::int32_t>(text.size()));
        if (!FlushFileBuffers(stream.Handle()))
            throw EWriteError(SysErrorMessage(GetLastError()));
    } catch (const Exception& e) {
        DeleteFileA(temporary);
        IniRaiseWriteFailure(FFileName, e.Message());
    }
    if (!MoveFileExA(temporary, target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = GetLastError();
        DeleteFileA(temporary);
        IniRaiseWriteFailure(FFileName, SysErrorMessage(error));
    }
}
