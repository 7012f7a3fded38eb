// Published properties: what a class lets a description stream read and
// write.
//
//   TTypeKind   what a property holds
//   TPropInfo   one property: name, kind, getter and setter (plain
//               functions), the stored test and the default
//   TClassInfo  a class: name, parent, its own properties
//   GetPropList the properties of a class, its parents' first
//   FindProp    one property by name, ignoring case
//
// A class publishes by declaring ZANDREL_PUBLISHED(Class) in its body and
// defining Class::StaticClassInfo() in its unit; TPersistent::ClassInfo()
// then answers it. Classes without a declaration publish what their nearest
// publishing parent does.
#pragma once

#include "Object.h"

#include <climits>
#include <span>
#include <vector>

enum class TTypeKind
{
    tkInteger,
    tkBool,
    tkEnumeration, // an index into EnumNames, streamed as the name
    tkString,      // AnsiString
    tkWString,     // WideString
    tkWChar,       // one UTF-16 unit, streamed as an integer
};

constexpr int kNoDefault = INT_MIN;

struct TPropInfo
{
    const char* Name = "";
    TTypeKind Kind = TTypeKind::tkInteger;
    // The ordinal kinds (integer, bool, enumeration, wide char).
    int (*GetOrd)(TPersistent*) = nullptr;
    void (*SetOrd)(TPersistent*, int) = nullptr;
    AnsiString (*GetStr)(TPersistent*) = nullptr;
    void (*SetStr)(TPersistent*, const AnsiString&) = nullptr;
    WideString (*GetWStr)(TPersistent*) = nullptr;
    void (*SetWStr)(TPersistent*, const WideString&) = nullptr;
    // Null: always stored.
    bool (*Stored)(TPersistent*) = nullptr;
    // An ordinal value equal to it is not written; kNoDefault writes every
    // value. Strings are written when not empty.
    int Default = kNoDefault;
    std::span<const char* const> EnumNames;

    bool IsStored(TPersistent* instance) const { return !Stored || Stored(instance); }
};

struct TClassInfo
{
    const char* Name = "";
    const TClassInfo* Parent = nullptr;
    std::span<const TPropInfo> Props;
};

// A name a class declares again stands once, as its most derived class
// declares it.
std::vector<const TPropInfo*> GetPropList(const TClassInfo* info);
const TPropInfo* FindProp(const TClassInfo* info, const AnsiString& name);

// A wide-string property read and written through Class's member functions.
template <class Class, WideString (Class::*Get)(), void (Class::*Set)(const WideString&)>
constexpr TPropInfo WideStringProperty(const char* name, bool (*stored)(TPersistent*) = nullptr)
{
    return {
        .Name = name,
        .Kind = TTypeKind::tkWString,
        .GetWStr = [](TPersistent* o) { return (static_cast<Class*>(o)->*Get)(); },
        .SetWStr = [](TPersistent* o, const WideString& v) { (static_cast<Class*>(o)->*Set)(v); },
        .Stored = stored};
}

// Declares the class's published properties (in a class body).
#define ZANDREL_PUBLISHED(Class)                                                                   \
public:                                                                                            \
    static const TClassInfo& StaticClassInfo();                                                    \
    const TClassInfo* ClassInfo() const override                                                   \
    {                                                                                              \
        return &Class::StaticClassInfo();                                                          \
    }
