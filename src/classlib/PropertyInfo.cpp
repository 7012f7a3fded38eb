#include "PropertyInfo.h"

#include "TextUtils.h"

std::vector<const TPropInfo*> GetPropList(const TClassInfo* info)
{
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = info; c; c = c->Parent)
        chain.push_back(c);
    std::vector<const TPropInfo*> list;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const TPropInfo& prop : (*it)->Props)
            if (FindProp(info, prop.Name) == &prop) // not redeclared further down
                list.push_back(&prop);
    return list;
}

const TPropInfo* FindProp(const TClassInfo* info, const AnsiString& name)
{
    // The most derived declaration of a name wins.
    for (const TClassInfo* c = info; c; c = c->Parent)
        for (const TPropInfo& prop : c->Props)
            if (SameText(prop.Name, name))
                return &prop;
    return nullptr;
}
