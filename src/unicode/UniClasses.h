// Wide properties in window descriptions, and wide values kept beside ANSI
// properties.
//
//   DeclareWideStreamProps   defines, for each wide-string and wide-char
//                            property of a class, the extra streamed
//                            properties that carry its wide value in a form
//                            older readers skip
//   TUniWideStringPropertyFiler, TUniWideCharPropertyFiler
//                            those definitions for one property
//   TWideComponentHelper     holds wide values of one component; one
//                            registry sorted by component finds it
//   TWideCaptionHelper       the helper that holds a wide caption and hint
//   ShadowedWideValue, StoreShadowedWide
//                            a wide value trusted only while the ANSI
//                            property beside it still equals its conversion
//
// A wide string property N streams N+"_UTF7" (UTF-7; written when the text
// is not plain ASCII) and reads N+"W" (UTF-8) too; a wide char property N
// streams N+"W" (a one-character wide string) and reads N+"_UTF7" too. Read
// values apply only while the component is being designed; at run time
// they are skipped undecoded, and the ANSI property beside them gives the
// text.
#pragma once

#include "classlib/Filer.h"

#include <functional>
#include <optional>
#include <vector>

class TUniWideStringPropertyFiler
{
public:
    TUniWideStringPropertyFiler(TPersistent* instance, const TPropInfo* prop);
    void DefineProperties(TFiler& filer) const;

private:
    void ReadUTF8(TReader& reader) const;
    void ReadUTF7(TReader& reader) const;
    void WriteUTF7(TWriter& writer) const;
    bool HasUTF7Data(TFiler& filer) const;

    TPersistent* FInstance; // not owned
    const TPropInfo* FProp; // a wide-string property of FInstance's class
    AnsiString FName;
};

class TUniWideCharPropertyFiler
{
public:
    TUniWideCharPropertyFiler(TPersistent* instance, const TPropInfo* prop);
    void DefineProperties(TFiler& filer) const;

private:
    void ReadW(TReader& reader) const;
    void ReadUTF7(TReader& reader) const;
    void WriteW(TWriter& writer) const;
    bool HasWData(TFiler& filer) const;

    TPersistent* FInstance; // not owned
    const TPropInfo* FProp; // a wide-char property of FInstance's class
    AnsiString FName;
};

// For every published wide-string and wide-char property of Instance.
void DeclareWideStreamProps(TFiler& Filer, TPersistent* Instance);

class TWideComponentHelper;
// Helpers sorted by the address of their component.
using TWideHelperList = std::vector<TWideComponentHelper*>;
// The program's one registry of helpers.
TWideHelperList& WideComponentHelpers();

class TWideComponentHelper : public TComponent
{
public:
    // Owned by component (so it goes with it) and listed in list until then.
    TWideComponentHelper(TComponent* component, TWideHelperList& list);
    ~TWideComponentHelper() override;

    TComponent* Component() const { return FComponent; }

private:
    TComponent* FComponent; // not owned: the owner
    TWideHelperList& FList;
};

// The helper of component in list, or nullptr.
TWideComponentHelper* FindWideComponentHelper(const TWideHelperList& List,
                                              const TComponent* Component);

// The wide caption and hint of a control, an action or a menu item, each
// trusted only beside its ANSI property (ShadowedWideValue).
class TWideCaptionHelper : public TWideComponentHelper
{
public:
    using TWideComponentHelper::TWideComponentHelper;

    // A wide value on its way to the clients of an action.
    struct TChange
    {
        WideString Before; // what linked clients show
        WideString After;  // what they are to show
    };

    WideString Caption;
    WideString Hint;
    std::optional<TChange> CaptionChange; // while a wide action's setter runs
    std::optional<TChange> HintChange;
};

// The component's helper in the registry, or nullptr.
TWideCaptionHelper* FindWideCaptionHelper(const TComponent* component);
// The same, made when the component has none yet.
TWideCaptionHelper* WideCaptionHelper(TComponent* component);

// The wide value as the ANSI value beside it allows: wide itself while ansi
// equals its conversion, else ansi converted (ANSI-only code changed it).
WideString ShadowedWideView(const WideString& wide, const AnsiString& ansi);
// The same, keeping the answer in WideValue.
WideString ShadowedWideValue(WideString& WideValue, const AnsiString& AnsiValue);
// Stores NewWide in WideValue and its conversion through SetAnsi, when it
// differs from the current (shadowed) value. When the conversion loses
// characters but equals AnsiValue already, SetAnsi first gets an empty text
// so that the ANSI setter still sees a change.
void StoreShadowedWide(WideString& WideValue, const WideString& NewWide,
                       const AnsiString& AnsiValue,
                       const std::function<void(const AnsiString&)>& SetAnsi);
