#include "IniFile.h"

#include "Exceptions.h"
#include "FilePaths.h"
#include "StringList.h"
#include "Streams.h"
#include "TextUtils.h"

#include <windows.h>

namespace {

// Raises unless the content took the key.
void IniRequireWritten(bool written, const AnsiString& section, const AnsiString& ident)
{
    if (!written)
        throw EIniFileException("The INI file cannot hold the key \"" + ident + "\" of [" +
                                section + "] with this name or value");
}

[[noreturn]] void IniRaiseWriteFailure(const AnsiString& fileName, const AnsiString& reason)
{
    throw EIniFileException("Cannot write the INI file \"" + fileName + "\". " + reason);
}

void IniFillStrings(TStrings* strings, const std::vector<AnsiString>& items)
{
    TStringsUpdate update(strings);
    strings->Clear();
    for (const AnsiString& item : items)
        strings->Add(item);
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
    TMemoryByteSource source(bytes.Memory(), static_cast<size_t>(bytes.Size()));
    FContent.Parse(source);
}

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) const
{
    return FContent.ReadString(Section, Ident, Default);
}

int TIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) const
{
    return FContent.ReadInteger(Section, Ident, Default);
}

bool TIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) const
{
    return FContent.ReadBool(Section, Ident, Default);
}

double TIniFile::ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default) const
{
    return FContent.ReadFloat(Section, Ident, Default);
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident,
                           const AnsiString& Value)
{
    IniRequireWritten(FContent.WriteString(Section, Ident, Value), Section, Ident);
}

void TIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value)
{
    IniRequireWritten(FContent.WriteInteger(Section, Ident, Value), Section, Ident);
}

void TIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value)
{
    IniRequireWritten(FContent.WriteBool(Section, Ident, Value), Section, Ident);
}

void TIniFile::WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value)
{
    IniRequireWritten(FContent.WriteFloat(Section, Ident, Value), Section, Ident);
}

void TIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) const
{
    IniFillStrings(Strings, FContent.KeyNames(Section));
}

void TIniFile::ReadSections(TStrings* Strings) const
{
    IniFillStrings(Strings, FContent.SectionNames());
}

void TIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) const
{
    std::vector<AnsiString> lines = FContent.KeyNames(Section);
    for (AnsiString& line : lines)
        line += "=" + FContent.ReadString(Section, line, AnsiString());
    IniFillStrings(Strings, lines);
}

bool TIniFile::SectionExists(const AnsiString& Section) const
{
    return FContent.SectionExists(Section);
}

bool TIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident) const
{
    return FContent.ValueExists(Section, Ident);
}

void TIniFile::EraseSection(const AnsiString& Section)
{
    FContent.EraseSection(Section);
}

void TIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident)
{
    FContent.DeleteKey(Section, Ident);
}

void TIniFile::Clear()
{
    FContent.Clear();
}

void TIniFile::UpdateFile()
{
    if (FFileName.empty())
        IniRaiseWriteFailure(FFileName, "The file has no name");
    if (!WriteFileReplacing(FFileName, FContent.Text()))
        IniRaiseWriteFailure(FFileName, SysErrorMessage(GetLastError()));
}
