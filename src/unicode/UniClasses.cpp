#include "UniClasses.h"

#include "UniSysUtils.h"

#include "classlib/Utf8.h"
#include "classlib/WideText.h"

#include <algorithm>

namespace {

bool UniIsDesigning(TPersistent* instance)
{
    auto* component = dynamic_cast<TComponent*>(instance);
    return component && component->HasState(csDesigning);
}

// The UTF-8 bytes of text taken as ANSI text do not give text back: it holds
// more than plain ASCII.
bool UniNeedsUTF7(const WideString& text)
{
    std::string utf8;
    if (!Utf16ToUtf8(Utf16FromWide(text), utf8))
        return true;
    return AnsiToWide(utf8) != text;
}

// Any string value read as UTF-8 bytes; a wide-string value as it is.
WideString UniReadUTF8Text(TReader& reader)
{
    if (reader.NextValue() == TValueType::vaWString)
        return reader.ReadWideString();
    const TStreamValue value = reader.ReadValue();
    if (!value.IsString())
        throw EReadError(kInvalidPropertyValue);
    return WideFromUtf16(Utf8ToUtf16(value.Bytes));
}

wchar_t UniFirstChar(const WideString& text)
{
    return text.empty() ? L'\0' : text[0];
}

} // namespace

// ---------------------------------------------------------------------------
// TUniWideStringPropertyFiler

TUniWideStringPropertyFiler::TUniWideStringPropertyFiler(TPersistent* instance,
                                                         const TPropInfo* prop)
    : FInstance(instance), FProp(prop), FName(prop->Name)
{
}

void TUniWideStringPropertyFiler::DefineProperties(TFiler& filer) const
{
    const TUniWideStringPropertyFiler self = *this;
    filer.DefineProperty(
        FName + "W", [self](TReader& reader) { self.ReadUTF8(reader); }, nullptr, false);
    filer.DefineProperty(
        FName + "_UTF7", [self](TReader& reader) { self.ReadUTF7(reader); },
        [self](TWriter& writer) { self.WriteUTF7(writer); }, HasUTF7Data(filer));
}

void TUniWideStringPropertyFiler::ReadUTF8(TReader& reader) const
{
    // Skipped undecoded at run time, so bad data cannot stop a load.
    if (!UniIsDesigning(FInstance) || !FProp->SetWStr) {
        reader.SkipValue();
        return;
    }
    FProp->SetWStr(FInstance, UniReadUTF8Text(reader));
}

void TUniWideStringPropertyFiler::ReadUTF7(TReader& reader) const
{
    if (!UniIsDesigning(FInstance) || !FProp->SetWStr) {
        reader.SkipValue();
        return;
    }
    FProp->SetWStr(FInstance, DecodeUTF7(reader.ReadString()));
}

void TUniWideStringPropertyFiler::WriteUTF7(TWriter& writer) const
{
    writer.WriteString(EncodeUTF7(FProp->GetWStr(FInstance)));
}

bool TUniWideStringPropertyFiler::HasUTF7Data(TFiler& filer) const
{
    if (!FProp->GetWStr || !FProp->IsStored(FInstance))
        return false;
    const WideString value = FProp->GetWStr(FInstance);
    if (filer.Ancestor() && value == FProp->GetWStr(filer.Ancestor()))
        return false;
    return UniNeedsUTF7(value);
}

// ---------------------------------------------------------------------------
// TUniWideCharPropertyFiler

TUniWideCharPropertyFiler::TUniWideCharPropertyFiler(TPersistent* instance, const TPropInfo* prop)
    : FInstance(instance), FProp(prop), FName(prop->Name)
{
}

void TUniWideCharPropertyFiler::DefineProperties(TFiler& filer) const
{
    const TUniWideCharPropertyFiler self = *this;
    filer.DefineProperty(
        FName + "W", [self](TReader& reader) { self.ReadW(reader); },
        [self](TWriter& writer) { self.WriteW(writer); }, HasWData(filer));
    filer.DefineProperty(
        FName + "_UTF7", [self](TReader& reader) { self.ReadUTF7(reader); }, nullptr, false);
}

void TUniWideCharPropertyFiler::ReadW(TReader& reader) const
{
    if (!UniIsDesigning(FInstance) || !FProp->SetOrd) {
        reader.SkipValue();
        return;
    }
    // Counted in UTF-16 units after conversion: one double-byte ANSI
    // character is one character.
    const WideString text = reader.ReadWideString();
    if (text.size() > 1)
        throw EReadError(kInvalidPropertyValue);
    FProp->SetOrd(FInstance, UniFirstChar(text));
}

void TUniWideCharPropertyFiler::ReadUTF7(TReader& reader) const
{
    if (!UniIsDesigning(FInstance) || !FProp->SetOrd) {
        reader.SkipValue();
        return;
    }
    FProp->SetOrd(FInstance, UniFirstChar(DecodeUTF7(reader.ReadString())));
}

void TUniWideCharPropertyFiler::WriteW(TWriter& writer) const
{
    const auto c = static_cast<wchar_t>(FProp->GetOrd(FInstance));
    writer.WriteUTF16String(c ? WideString(1, c) : WideString());
}

bool TUniWideCharPropertyFiler::HasWData(TFiler& filer) const
{
    if (!FProp->GetOrd || !FProp->IsStored(FInstance))
        return false;
    const int value = FProp->GetOrd(FInstance);
    if (filer.Ancestor())
        return value != FProp->GetOrd(filer.Ancestor());
    return value != FProp->Default;
}

void DeclareWideStreamProps(TFiler& Filer, TPersistent* Instance)
{
    for (const TPropInfo* prop : GetPropList(Instance->ClassInfo())) {
        if (prop->Kind == TTypeKind::tkWString)
            TUniWideStringPropertyFiler(Instance, prop).DefineProperties(Filer);
        else if (prop->Kind == TTypeKind::tkWChar)
            TUniWideCharPropertyFiler(Instance, prop).DefineProperties(Filer);
    }
}

// ---------------------------------------------------------------------------
// Helpers

TWideHelperList& WideComponentHelpers()
{
    static TWideHelperList list;
    return list;
}

namespace {

bool UniHelperBefore(const TWideComponentHelper* helper, const TComponent* component)
{
    return std::less<const TComponent*>()(helper->Component(), component);
}

} // namespace

TWideComponentHelper::TWideComponentHelper(TComponent* component, TWideHelperList& list)
    : TComponent(component), FComponent(component), FList(list)
{
    FList.insert(std::lower_bound(FList.begin(), FList.end(), component, UniHelperBefore), this);
}

TWideComponentHelper::~TWideComponentHelper()
{
    auto it = std::lower_bound(FList.begin(), FList.end(), FComponent, UniHelperBefore);
    if (it != FList.end() && *it == this)
        FList.erase(it);
}

TWideComponentHelper* FindWideComponentHelper(const TWideHelperList& List,
                                              const TComponent* Component)
{
    auto it = std::lower_bound(List.begin(), List.end(), Component, UniHelperBefore);
    return it != List.end() && (*it)->Component() == Component ? *it : nullptr;
}

TWideCaptionHelper* FindWideCaptionHelper(const TComponent* component)
{
    return dynamic_cast<TWideCaptionHelper*>(
        FindWideComponentHelper(WideComponentHelpers(), component));
}

TWideCaptionHelper* WideCaptionHelper(TComponent* component)
{
    if (TWideCaptionHelper* found = FindWideCaptionHelper(component))
        return found;
    return new TWideCaptionHelper(component, WideComponentHelpers());
}

// ---------------------------------------------------------------------------
// Wide values beside ANSI ones

WideString ShadowedWideView(const WideString& wide, const AnsiString& ansi)
{
    return WideToAnsi(wide) == ansi ? wide : AnsiToWide(ansi);
}

WideString ShadowedWideValue(WideString& WideValue, const AnsiString& AnsiValue)
{
    WideValue = ShadowedWideView(WideValue, AnsiValue);
    return WideValue;
}

void StoreShadowedWide(WideString& WideValue, const WideString& NewWide,
                       const AnsiString& AnsiValue,
                       const std::function<void(const AnsiString&)>& SetAnsi)
{
    if (NewWide == ShadowedWideValue(WideValue, AnsiValue))
        return;
    const AnsiString newAnsi = WideToAnsi(NewWide);
    if (AnsiToWide(newAnsi) != NewWide && newAnsi == AnsiValue)
        SetAnsi(AnsiString());
    WideValue = NewWide;
    SetAnsi(newAnsi);
}
