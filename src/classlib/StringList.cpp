#include "StringList.h"

#include "Exceptions.h"
#include "Streams.h"
#include "TextUtils.h"

#include <algorithm>
#include <numeric>

namespace {

bool ListNeedsQuotes(const AnsiString& s)
{
    if (s.empty())
        return true;
    for (char c : s)
        if (static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"')
            return true;
    return false;
}

} // namespace

void TStrings::SetStrings(int Index, const AnsiString& S)
{
    TObject* object = Objects(Index);
    TStringsUpdate update(this);
    Delete(Index);
    InsertObject(Index, S, object);
}

TObject* TStrings::Objects(int) const
{
    return nullptr;
}

void TStrings::SetObjects(int, TObject*) {}

int TStrings::AddObject(const AnsiString& S, TObject* AObject)
{
    int index = Count();
    InsertObject(index, S, AObject);
    return index;
}

void TStrings::AddStrings(TStrings* Strings)
{
    TStringsUpdate update(this);
    for (int i = 0; i < Strings->Count(); ++i)
        AddObject(Strings->Strings(i), Strings->Objects(i));
}

void TStrings::InsertObject(int Index, const AnsiString& S, TObject* AObject)
{
    Insert(Index, S);
    SetObjects(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2)
{
    AnsiString s1 = Strings(Index1), s2 = Strings(Index2);
    TObject* o1 = Objects(Index1);
    TObject* o2 = Objects(Index2);
    TStringsUpdate update(this);
    SetStrings(Index1, s2);
    SetObjects(Index1, o2);
    SetStrings(Index2, s1);
    SetObjects(Index2, o1);
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    AnsiString s = Strings(CurIndex);
    TObject* object = Objects(CurIndex);
    TStringsUpdate update(this);
    Delete(CurIndex);
    InsertObject(NewIndex, s, object);
}

int TStrings::IndexOf(const AnsiString& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Strings(i), S) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfName(const AnsiString& Name) const
{
    for (int i = 0; i < Count(); ++i) {
        AnsiString s = Strings(i);
        size_t eq = s.find('=');
        if (eq != AnsiString::npos && CompareStrings(s.substr(0, eq), Name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const
{
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == AObject)
            return i;
    return -1;
}

AnsiString TStrings::Names(int Index) const
{
    AnsiString s = Strings(Index);
    size_t eq = s.find('=');
    return eq == AnsiString::npos ? AnsiString() : s.substr(0, eq);
}

AnsiString TStrings::Values(const AnsiString& Name) const
{
    int i = IndexOfName(Name);
    return i < 0 ? AnsiString() : ValueFromIndex(i);
}

void TStrings::SetValues(const AnsiString& Name, const AnsiString& Value)
{
    int i = IndexOfName(Name);
    if (Value.empty()) {
        if (i >= 0)
            Delete(i);
    } else if (i < 0) {
        Add(Name + "=" + Value);
    } else {
        SetStrings(i, Name + "=" + Value);
    }
}

AnsiString TStrings::ValueFromIndex(int Index) const
{
    AnsiString s = Strings(Index);
    size_t eq = s.find('=');
    return eq == AnsiString::npos ? AnsiString() : s.substr(eq + 1);
}

AnsiString TStrings::Text() const
{
    AnsiString text;
    for (int i = 0; i < Count(); ++i)
        text += Strings(i) + "\r\n";
    return text;
}

void TStrings::SetText(const AnsiString& Value)
{
    TStringsUpdate update(this);
    Clear();
    for (const AnsiString& line : SplitLines(Value))
        Add(line);
}

AnsiString TStrings::CommaText() const
{
    AnsiString text;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0)
            text += ',';
        AnsiString s = Strings(i);
        text += ListNeedsQuotes(s) ? "\"" + StringReplace(s, "\"", "\"\"", rfReplaceAll) + "\"" : s;
    }
    return text;
}

void TStrings::SetCommaText(const AnsiString& Value)
{
    // Quotes and commas are below every trail byte, so a byte scan is safe.
    TStringsUpdate update(this);
    Clear();
    size_t i = 0;
    while (i <= Value.size() && !Value.empty()) {
        AnsiString item;
        if (i < Value.size() && Value[i] == '"') {
            for (++i; i < Value.size(); ++i) {
                if (Value[i] == '"') {
                    if (i + 1 < Value.size() && Value[i + 1] == '"')
                        ++i;
                    else
                        break;
                }
                item += Value[i];
            }
            i = Value.find(',', i); // text between the closing quote and the comma is dropped
        } else {
            size_t comma = Value.find(',', i);
            item = Value.substr(i, comma == AnsiString::npos ? AnsiString::npos : comma - i);
            i = comma;
        }
        Add(item);
        if (i == AnsiString::npos)
            break;
        ++i;
    }
}

void TStrings::LoadFromFile(const AnsiString& FileName)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TStrings::SaveToFile(const AnsiString& FileName)
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TStrings::LoadFromStream(TStream* Stream)
{
    std::int64_t size = Stream->Size() - Stream->Position();
    AnsiString bytes(static_cast<size_t>(std::max<std::int64_t>(size, 0)), '\0');
    Stream->ReadBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    SetText(bytes);
}

void TStrings::SaveToStream(TStream* Stream)
{
    AnsiString text = Text();
    Stream->WriteBuffer(text.data(), static_cast<std::int32_t>(text.size()));
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TStrings*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    TStringsUpdate update(this);
    Clear();
    AddStrings(source);
}

bool TStrings::Equals(TStrings* Strings) const
{
    if (Strings->Count() != Count())
        return false;
    for (int i = 0; i < Count(); ++i)
        if (Strings->Strings(i) != this->Strings(i))
            return false;
    return true;
}

int TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const
{
    return CompareText(S1, S2);
}

AnsiString TStringList::Strings(int Index) const
{
    CheckIndex(Index);
    return FList[Index].String;
}

void TStringList::SetStrings(int Index, const AnsiString& S)
{
    CheckUnsorted();
    CheckIndex(Index);
    Changing();
    FList[Index].String = S;
    Changed();
}

TObject* TStringList::Objects(int Index) const
{
    CheckIndex(Index);
    return FList[Index].Object;
}

void TStringList::SetObjects(int Index, TObject* AObject)
{
    CheckIndex(Index);
    Changing();
    FList[Index].Object = AObject;
    Changed();
}

int TStringList::AddObject(const AnsiString& S, TObject* AObject)
{
    int index = Count();
    if (FSorted && Find(S, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            throw EStringListError("String list does not allow duplicates");
        while (index < Count() && CompareStrings(FList[index].String, S) == 0)
            ++index;
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Insert(int Index, const AnsiString& S)
{
    CheckUnsorted();
    CheckIndex(Index, true);
    InsertItem(Index, S, nullptr);
}

void TStringList::InsertItem(int Index, const AnsiString& S, TObject* AObject)
{
    Changing();
    FList.insert(FList.begin() + Index, TStringItem{S, AObject});
    Changed();
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    Changing();
    FList.erase(FList.begin() + Index);
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty())
        return;
    Changing();
    FList.clear();
    Changed();
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckUnsorted();
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FList[Index1], FList[Index2]);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex)
{
    CheckUnsorted();
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    if (CurIndex == NewIndex)
        return;
    Changing();
    auto first = FList.begin();
    if (CurIndex < NewIndex)
        std::rotate(first + CurIndex, first + CurIndex + 1, first + NewIndex + 1);
    else
        std::rotate(first + NewIndex, first + CurIndex, first + CurIndex + 1);
    Changed();
}

int TStringList::IndexOf(const AnsiString& S) const
{
    if (!FSorted)
        return TStrings::IndexOf(S);
    int index;
    return Find(S, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& S, int& Index) const
{
    int low = 0, high = Count();
    while (low < high) {
        int mid = low + (high - low) / 2;
        if (CompareStrings(FList[mid].String, S) < 0)
            low = mid + 1;
        else
            high = mid;
    }
    Index = low;
    return low < Count() && CompareStrings(FList[low].String, S) == 0;
}

void TStringList::Sort()
{
    CustomSort([](TStringList* list, int a, int b) {
        return list->CompareStrings(list->FList[a].String, list->FList[b].String);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
    if (FList.size() < 2)
        return;
    std::vector<int> order(FList.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return Compare(this, a, b) < 0; });
    std::vector<TStringItem> sorted;
    sorted.reserve(FList.size());
    for (int i : order)
        sorted.push_back(FList[i]);
    Changing();
    FList.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool value)
{
    if (value == FSorted)
        return;
    if (value)
        Sort();
    FSorted = value;
}

void TStringList::SetCaseSensitive(bool value)
{
    if (value == FCaseSensitive)
        return;
    FCaseSensitive = value;
    if (FSorted)
        Sort();
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating && OnChanging)
        OnChanging(this);
    else if (!Updating && OnChange)
        OnChange(this);
}

int TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const
{
    return FCaseSensitive ? CompareStr(S1, S2) : CompareText(S1, S2);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::CheckIndex(int Index, bool allowEnd) const
{
    if (Index < 0 || Index > Count() || (Index == Count() && !allowEnd))
        throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void TStringList::CheckUnsorted() const
{
    if (FSorted)
        throw EStringListError("Operation not allowed on sorted list");
}
