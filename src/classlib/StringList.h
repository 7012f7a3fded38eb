// Lists of strings.
//
//   TStrings     the abstract list: strings with an object pointer each,
//                name=value pairs, the text of all lines, comma text, files,
//                update brackets (controls that hold lines derive from it)
//   TStringList  the list held in memory: sorted or not, duplicates, case
//                sensitivity, sorting, change events
//
// Objects are not owned: the list only keeps the pointer beside its string.
// Comparisons are by bytes, with ASCII letters folded when the list is not
// case-sensitive (the default); double-byte characters are never folded.
#pragma once

#include "Object.h"

#include <functional>
#include <vector>

class TStream;

enum TDuplicates
{
    dupIgnore,
    dupAccept,
    dupError
};

class TStrings : public TPersistent
{
public:
    virtual int Count() const = 0;
    virtual AnsiString Strings(int Index) const = 0;
    virtual void SetStrings(int Index, const AnsiString& S);
    virtual TObject* Objects(int Index) const;
    virtual void SetObjects(int Index, TObject* AObject);

    // Adds at the end (a sorted list: at the string's place); returns the index.
    int Add(const AnsiString& S) { return AddObject(S, nullptr); }
    virtual int AddObject(const AnsiString& S, TObject* AObject);
    void AddStrings(TStrings* Strings);
    virtual void Insert(int Index, const AnsiString& S) = 0;
    void InsertObject(int Index, const AnsiString& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int Index1, int Index2);
    // Moves the string and its object so that it ends up at NewIndex.
    virtual void Move(int CurIndex, int NewIndex);

    // -1 when absent.
    virtual int IndexOf(const AnsiString& S) const;
    int IndexOfName(const AnsiString& Name) const;
    int IndexOfObject(TObject* AObject) const;

    // For "name=value" lines: the name ("" for a line without "="), the
    // value of the first line with that name, the value of line Index.
    // Setting a value to "" deletes its line; a new name adds one.
    AnsiString Names(int Index) const;
    AnsiString Values(const AnsiString& Name) const;
    void SetValues(const AnsiString& Name, const AnsiString& Value);
    AnsiString ValueFromIndex(int Index) const;

    // Every string followed by CR LF. Setting splits at CR LF, CR or LF; a
    // last line break makes no empty line.
    AnsiString Text() const;
    void SetText(const AnsiString& Value);
    // Strings separated by ","; a string that is empty or holds a blank, a
    // control character, "," or a double quote is quoted, its quotes doubled.
    // Reading takes quoted or bare strings between commas.
    AnsiString CommaText() const;
    void SetCommaText(const AnsiString& Value);

    // Whole files and streams as Text, raw bytes of the ANSI code page.
    void LoadFromFile(const AnsiString& FileName);
    void SaveToFile(const AnsiString& FileName);
    // From the stream's position to its end.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);

    // Brackets many changes so that listeners hear of them once.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Copies the strings and objects of another list.
    void Assign(TPersistent* Source) override;
    bool Equals(TStrings* Strings) const;

protected:
    // Called when the first BeginUpdate starts (true) and the last EndUpdate
    // ends (false).
    virtual void SetUpdateState(bool Updating) {}
    virtual int CompareStrings(const AnsiString& S1, const AnsiString& S2) const;

private:
    int FUpdateCount = 0; // nesting of BeginUpdate
};

// Holds a list in BeginUpdate for its lifetime, so that an exception
// cannot leave the list updating for ever.
class TStringsUpdate
{
public:
    explicit TStringsUpdate(TStrings* Strings) : FStrings(Strings) { FStrings->BeginUpdate(); }
    ~TStringsUpdate() { FStrings->EndUpdate(); }
    TStringsUpdate(const TStringsUpdate&) = delete;
    TStringsUpdate& operator=(const TStringsUpdate&) = delete;

private:
    TStrings* FStrings; // not owned
};

class TStringList;
// Negative, zero or positive as the item at Index1 sorts before, with or
// after the one at Index2; the list does not change while it is sorted.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings
{
public:
    int Count() const override { return static_cast<int>(FList.size()); }
    AnsiString Strings(int Index) const override;
    // Not allowed on a sorted list (EStringListError), as Insert.
    void SetStrings(int Index, const AnsiString& S) override;
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;

    // On a sorted list a string equal to one present is ignored (dupIgnore,
    // returning the present index), added after the equal ones (dupAccept),
    // or refused with EStringListError (dupError).
    int AddObject(const AnsiString& S, TObject* AObject) override;
    void Insert(int Index, const AnsiString& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;

    int IndexOf(const AnsiString& S) const override;
    // Binary search of a sorted list: true when S is present, Index its first
    // position; otherwise Index is where S would go.
    bool Find(const AnsiString& S, int& Index) const;
    // Stable: equal strings keep their order.
    void Sort();
    void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value);

    // Before and after every change, unless inside BeginUpdate/EndUpdate;
    // then once around the whole bracket.
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;
    void Changing();
    void Changed();

private:
    struct TStringItem
    {
        AnsiString String;
        TObject* Object; // not owned
    };
    void CheckIndex(int Index, bool allowEnd = false) const;
    void CheckUnsorted() const;
    void InsertItem(int Index, const AnsiString& S, TObject* AObject);

    std::vector<TStringItem> FList;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = dupIgnore; // applies to sorted lists only
};
