#include "IniContent.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace {

enum IniLineKind
{
    ikBlank,
    ikSection,
    ikComment,
    ikPair,
    ikOther
};

// text without its blanks at either end, as Trim gives it (no byte of a
// double-byte character is a blank), without a copy.
std::string_view IniTrim(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t begin = 0, end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// What a trimmed line is; name and value receive a section's name or a
// pair's key and value, trimmed. Only what is kept is copied: a file of
// many thousands of lines is read in one pass over its text.
IniLineKind IniClassify(std::string_view line, AnsiString& name, AnsiString& value)
{
    if (line.empty())
        return ikBlank;
    // "]" must be a character of its own: "[ゾ" ends in the byte 0x5D too.
    // And so must it be after the name is trimmed, or the section could not
    // be written back: a lead byte that the trimming parts from its second
    // byte would take the "]" as its own.
    if (line[0] == '[' && line.size() >= 2) {
        const AnsiString section(line); // its characters are told apart from its start
        if (IsDelimiter("]", section, section.size() - 1)) {
            name = AnsiString(IniTrim(line.substr(1, line.size() - 2)));
            const AnsiString written = "[" + name + "]";
            if (IsDelimiter("]", written, written.size() - 1))
                return ikSection;
        }
    }
    if (line[0] == ';')
        return ikComment;
    // "=" lies below every trail byte, so a byte search finds only the
    // character.
    size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return ikOther;
    name = AnsiString(IniTrim(line.substr(0, eq)));
    value = AnsiString(IniTrim(line.substr(eq + 1)));
    return ikPair;
}

bool IniHasLineBreak(const AnsiString& s)
{
    return s.find_first_of("\r\n") != AnsiString::npos;
}

// Calls take(line) for each line of text (a view into it); lines end in CR
// LF, CR or LF (CR and LF lie below every trail byte).
template <class Take> void IniEachLine(const AnsiString& text, Take take)
{
    const std::string_view all(text);
    size_t start = 0;
    while (start < all.size()) {
        size_t end = std::min(all.find_first_of("\r\n", start), all.size());
        take(all.substr(start, end - start));
        bool crlf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
        start = end + (crlf ? 2 : 1);
    }
}

} // namespace

bool TIniContent::Parse(TByteSource& source)
{
    Clear();
    AnsiString text;
    if (!ReadWholeSource(source, text))
        return false;
    ParseText(text);
    return true;
}

void TIniContent::ParseText(const AnsiString& text)
{
    Clear();
    IniEachLine(text, [this](std::string_view raw) {
        const std::string_view line = IniTrim(raw);
        AnsiString name, value;
        IniLineKind kind = IniClassify(line, name, value);
        if (kind == ikBlank)
            return;
        if (kind == ikSection)
            AddSection(name);
        else if (FSections.empty())
            FPreamble.emplace_back(line);
        else if (kind == ikPair)
            AddPair(FSections.back(), std::move(name), std::move(value));
        else
            FSections.back().Lines.push_back(TIniLine{false, AnsiString(), AnsiString(line)});
    });
}

TIniContent::TIniSection& TIniContent::AddSection(const AnsiString& name)
{
    FSections.push_back(TIniSection{name, {}, {}});
    FSectionIndex.emplace(UpperCase(name), FSections.size() - 1);
    return FSections.back();
}

void TIniContent::AddPair(TIniSection& section, AnsiString key, AnsiString value)
{
    AnsiString folded = UpperCase(key);
    section.Lines.push_back(TIniLine{true, std::move(key), std::move(value)});
    section.Keys.emplace(std::move(folded), section.Lines.size() - 1);
}

void TIniContent::IndexKeys(TIniSection& section)
{
    section.Keys.clear();
    for (size_t i = 0; i < section.Lines.size(); ++i)
        if (section.Lines[i].IsPair)
            section.Keys.emplace(UpperCase(section.Lines[i].Key), i);
}

void TIniContent::IndexSections()
{
    FSectionIndex.clear();
    for (size_t i = 0; i < FSections.size(); ++i)
        FSectionIndex.emplace(UpperCase(FSections[i].Name), i);
}

const TIniContent::TIniSection* TIniContent::FindSection(const AnsiString& Section) const
{
    auto found = FSectionIndex.find(UpperCase(Trim(Section)));
    return found == FSectionIndex.end() ? nullptr : &FSections[found->second];
}

TIniContent::TIniSection* TIniContent::FindSection(const AnsiString& Section)
{
    return const_cast<TIniSection*>(std::as_const(*this).FindSection(Section));
}

const AnsiString* TIniContent::FindValue(const AnsiString& Section, const AnsiString& Ident) const
{
    const TIniSection* section = FindSection(Section);
    if (!section)
        return nullptr;
    auto found = section->Keys.find(UpperCase(Trim(Ident)));
    return found == section->Keys.end() ? nullptr : &section->Lines[found->second].Value;
}

AnsiString TIniContent::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                   const AnsiString& Default) const
{
    const AnsiString* value = FindValue(Section, Ident);
    return value ? Trim(*value) : Default;
}

int TIniContent::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) const
{
    return StrToIntDef(ReadString(Section, Ident, AnsiString()), Default);
}

bool TIniContent::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) const
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

double TIniContent::ReadFloat(const AnsiString& Section, const AnsiString& Ident,
                              double Default) const
{
    double value;
    return TryTextToFloat(ReadString(Section, Ident, AnsiString()), ".", value) ? value : Default;
}

bool TIniContent::CanHold(const AnsiString& Section, const AnsiString& Ident,
                          const AnsiString& Value)
{
    return CanHoldSection(Section) && CanHoldPair(Ident, Value);
}

bool TIniContent::CanHoldSection(const AnsiString& Section)
{
    AnsiString name, back;
    const AnsiString section = Trim(Section);
    return !IniHasLineBreak(Section) && IniClassify("[" + section + "]", name, back) == ikSection &&
           name == section;
}

bool TIniContent::CanHoldPair(const AnsiString& Ident, const AnsiString& Value)
{
    if (IniHasLineBreak(Ident) || IniHasLineBreak(Value))
        return false;
    // A key without "=" that starts neither a section nor a comment always
    // reads back, with the value trimmed; only others need the whole test.
    const AnsiString key = Trim(Ident);
    if (key.find('=') == AnsiString::npos && (key.empty() || (key[0] != '[' && key[0] != ';')))
        return true;
    AnsiString name, back;
    return IniClassify(Trim(key + "=" + Value), name, back) == ikPair && name == key &&
           back == Trim(Value);
}

bool TIniContent::WriteString(const AnsiString& Section, const AnsiString& Ident,
                              const AnsiString& Value)
{
    // A section that is there already has a name the file holds, and so has
    // any name that, trimmed, differs from it only in the case of letters.
    TIniSection* section = FindSection(Section);
    if (IniHasLineBreak(Section) || (!section && !CanHoldSection(Section)) ||
        !CanHoldPair(Ident, Value))
        return false;
    if (!section)
        section = &AddSection(Trim(Section));
    auto found = section->Keys.find(UpperCase(Trim(Ident)));
    if (found == section->Keys.end())
        AddPair(*section, Trim(Ident), Value);
    else
        section->Lines[found->second].Value = Value;
    return true;
}

bool TIniContent::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value)
{
    return WriteString(Section, Ident, std::to_string(Value));
}

bool TIniContent::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value)
{
    return WriteString(Section, Ident, Value ? "1" : "0");
}

bool TIniContent::WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value)
{
    return WriteString(Section, Ident, FloatToRoundTripText(Value, "."));
}

std::vector<AnsiString> TIniContent::KeyNames(const AnsiString& Section) const
{
    std::vector<AnsiString> names;
    if (const TIniSection* section = FindSection(Section))
        for (size_t i = 0; i < section->Lines.size(); ++i)
            if (section->Lines[i].IsPair && section->Keys.at(UpperCase(section->Lines[i].Key)) == i)
                names.push_back(section->Lines[i].Key);
    return names;
}

std::vector<AnsiString> TIniContent::SectionNames() const
{
    std::vector<AnsiString> names;
    for (size_t i = 0; i < FSections.size(); ++i)
        if (FSectionIndex.at(UpperCase(FSections[i].Name)) == i)
            names.push_back(FSections[i].Name);
    return names;
}

bool TIniContent::SectionExists(const AnsiString& Section) const
{
    return FindSection(Section) != nullptr;
}

bool TIniContent::ValueExists(const AnsiString& Section, const AnsiString& Ident) const
{
    return FindValue(Section, Ident) != nullptr;
}

void TIniContent::EraseSection(const AnsiString& Section)
{
    AnsiString name = UpperCase(Trim(Section));
    if (!FSectionIndex.count(name))
        return;
    std::erase_if(FSections, [&](const TIniSection& s) { return UpperCase(s.Name) == name; });
    IndexSections();
}

void TIniContent::DeleteKey(const AnsiString& Section, const AnsiString& Ident)
{
    DeleteKeys(Section, {Ident});
}

void TIniContent::DeleteKeys(const AnsiString& Section, const std::vector<AnsiString>& Idents)
{
    TIniSection* section = FindSection(Section);
    if (!section)
        return;
    std::unordered_set<AnsiString> doomed;
    for (const AnsiString& ident : Idents) {
        AnsiString key = UpperCase(Trim(ident));
        if (section->Keys.count(key))
            doomed.insert(std::move(key));
    }
    if (doomed.empty())
        return;
    std::erase_if(section->Lines,
                  [&](const TIniLine& l) { return l.IsPair && doomed.count(UpperCase(l.Key)); });
    IndexKeys(*section);
}

void TIniContent::Clear()
{
    FPreamble.clear();
    FSections.clear();
    FSectionIndex.clear();
}

AnsiString TIniContent::Text() const
{
    AnsiString text;
    for (const AnsiString& line : FPreamble)
        text += line + "\r\n";
    for (const TIniSection& section : FSections) {
        if (!text.empty())
            text += "\r\n";
        text += "[" + section.Name + "]\r\n";
        for (const TIniLine& line : section.Lines) {
            if (line.IsPair)
                text.append(line.Key).append("=");
            text.append(line.Value).append("\r\n");
        }
    }
    return text;
}
