#include "Filer.h"

#include "ScopeExit.h"
#include "TextUtils.h"
#include "Utf8.h"
#include "WideText.h"

namespace {

const char* const kInvalidStreamFormat = "Invalid stream format";

std::vector<std::uint8_t> FilerRestOf(TStream* stream)
{
    const std::int64_t rest = stream->Size() - stream->Position();
    std::vector<std::uint8_t> bytes(static_cast<size_t>(rest > 0 ? rest : 0));
    if (!bytes.empty())
        stream->ReadBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    return bytes;
}

AnsiString FilerClassName(TPersistent* instance)
{
    const TClassInfo* info = instance->ClassInfo();
    return info ? AnsiString(info->Name) : instance->ClassName();
}

} // namespace

// ---------------------------------------------------------------------------
// TReader

TReader::TReader(TStream* Stream)
    : FStream(Stream), FStart(Stream->Position()), FBytes(FilerRestOf(Stream)),
      FSource(FBytes.data(), FBytes.size()), FScanner(FSource)
{
    FStream->SetPosition(FStart);
}

void TReader::ReadComponent(TComponent* Instance)
{
    std::string className, name;
    if (!FScanner.ReadSignature() || !FScanner.ReadShortString(className) ||
        !FScanner.ReadShortString(name))
        throw EReadError(kInvalidStreamFormat);
    if (!SameText(className, FilerClassName(Instance)))
        throw EReadError("The description is of a " + className + ", not of a " +
                         FilerClassName(Instance));
    Instance->IncludeState(csLoading);
    Instance->IncludeState(csReading);
    {
        // A read that fails ends the loading here; one that succeeds ends it
        // in FinishLoading.
        TScopeExit loadingFailed([Instance] { Instance->ExcludeState(csLoading); });
        TScopeExit read([this, Instance] {
            Instance->ExcludeState(csReading);
            FDefined.clear();
        });
        if (!name.empty())
            Instance->SetName(name);
        ReadProperties(Instance);
        loadingFailed.Dismiss();
    }
    FStream->SetPosition(FStart + static_cast<std::int64_t>(FScanner.Position()));
    Instance->FinishLoading();
}

void TReader::ReadProperties(TComponent* instance)
{
    FDefined.clear();
    instance->DefineProperties(*this);
    while (!FScanner.ReadEndOfList())
        ReadProperty(instance, ReadName());
}

AnsiString TReader::ReadName()
{
    std::string name;
    if (!FScanner.ReadShortString(name) || name.empty())
        throw EReadError(kInvalidStreamFormat);
    return name;
}

void TReader::ReadProperty(TComponent* instance, const AnsiString& name)
{
    for (const TDefinedProperty& defined : FDefined) {
        if (SameText(defined.Name, name)) {
            if (defined.Read)
                defined.Read(*this);
            else
                SkipValue();
            return;
        }
    }
    const TPropInfo* prop = FindProp(instance->ClassInfo(), name);
    if (!prop)
        throw EReadError("Property " + name + " does not exist");
    ReadPublished(instance, *prop);
}

void TReader::ReadPublished(TPersistent* instance, const TPropInfo& prop)
{
    switch (prop.Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkWChar: {
        const std::int32_t value = ReadInteger();
        if (prop.Kind == TTypeKind::tkWChar && (value < 0 || value > 0xFFFF))
            throw EReadError(kInvalidPropertyValue);
        if (prop.SetOrd)
            prop.SetOrd(instance, value);
        return;
    }
    case TTypeKind::tkBool: {
        const bool value = ReadBoolean();
        if (prop.SetOrd)
            prop.SetOrd(instance, value ? 1 : 0);
        return;
    }
    case TTypeKind::tkEnumeration: {
        const AnsiString ident = ReadIdent();
        for (size_t i = 0; i < prop.EnumNames.size(); ++i) {
            if (SameText(prop.EnumNames[i], ident)) {
                if (prop.SetOrd)
                    prop.SetOrd(instance, static_cast<int>(i));
                return;
            }
        }
        throw EReadError(kInvalidPropertyValue);
    }
    case TTypeKind::tkString: {
        const AnsiString value = ReadString();
        if (prop.SetStr)
            prop.SetStr(instance, value);
        return;
    }
    case TTypeKind::tkWString: {
        const WideString value = ReadWideString();
        if (prop.SetWStr)
            prop.SetWStr(instance, value);
        return;
    }
    }
}

void TReader::DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                             const TWriterProc&, bool)
{
    FDefined.push_back({Name, ReadData});
}

TValueType TReader::NextValue()
{
    TValueType type;
    if (!FScanner.PeekType(type))
        throw EReadError(kInvalidStreamFormat);
    return type;
}

TStreamValue TReader::ReadValue()
{
    TStreamValue value;
    if (!FScanner.ReadValue(value))
        throw EReadError(kInvalidPropertyValue);
    return value;
}

std::int32_t TReader::ReadInteger()
{
    const TStreamValue value = ReadValue();
    if (!value.IsInteger())
        throw EReadError(kInvalidPropertyValue);
    return value.Integer;
}

bool TReader::ReadBoolean()
{
    const TStreamValue value = ReadValue();
    if (value.Type != TValueType::vaFalse && value.Type != TValueType::vaTrue)
        throw EReadError(kInvalidPropertyValue);
    return value.Type == TValueType::vaTrue;
}

AnsiString TReader::ReadIdent()
{
    const TStreamValue value = ReadValue();
    switch (value.Type) {
    case TValueType::vaIdent:
        return value.Bytes;
    case TValueType::vaFalse:
        return "False";
    case TValueType::vaTrue:
        return "True";
    default:
        throw EReadError(kInvalidPropertyValue);
    }
}

AnsiString TReader::ReadString()
{
    const TStreamValue value = ReadValue();
    switch (value.Type) {
    case TValueType::vaString:
    case TValueType::vaLString:
        return value.Bytes;
    case TValueType::vaUTF8String:
        return WideToAnsi(WideFromUtf16(Utf8ToUtf16(value.Bytes)));
    case TValueType::vaWString:
        return WideToAnsi(WideFromUtf16(value.Wide));
    default:
        throw EReadError(kInvalidPropertyValue);
    }
}

WideString TReader::ReadWideString()
{
    const TStreamValue value = ReadValue();
    switch (value.Type) {
    case TValueType::vaString:
    case TValueType::vaLString:
        return AnsiToWide(value.Bytes);
    case TValueType::vaUTF8String:
        return WideFromUtf16(Utf8ToUtf16(value.Bytes));
    case TValueType::vaWString:
        return WideFromUtf16(value.Wide);
    default:
        throw EReadError(kInvalidPropertyValue);
    }
}

void TReader::SkipValue()
{
    if (!FScanner.SkipValue())
        throw EReadError(kInvalidPropertyValue);
}

// ---------------------------------------------------------------------------
// TWriter

TWriter::TWriter(TStream* Stream) : FStream(Stream) {}

void TWriter::WriteComponent(TComponent* Instance)
{
    // The getters take the ancestor for an instance of their class.
    if (Ancestor() && Ancestor()->ClassInfo() != Instance->ClassInfo())
        throw EWriteError("The ancestor of " + FilerClassName(Instance) + " is a " +
                          FilerClassName(Ancestor()));
    Instance->IncludeState(csWriting);
    TScopeExit written([Instance] { Instance->ExcludeState(csWriting); });
    FEmitter = TValueEmitter();
    FEmitter.WriteSignature();
    WriteName(FilerClassName(Instance));
    if (!FEmitter.WriteShortString(Instance->Name()))
        throw EWriteError("The name " + Instance->Name() + " is too long to be written");
    for (const TPropInfo* prop : GetPropList(Instance->ClassInfo()))
        if (ShouldWrite(Instance, *prop))
            WritePublished(Instance, *prop);
    Instance->DefineProperties(*this);
    FEmitter.WriteEndOfList();
    const auto& bytes = FEmitter.Bytes();
    FStream->WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

void TWriter::WriteName(const AnsiString& name)
{
    if (name.empty() || !FEmitter.WriteShortString(name))
        throw EWriteError("The name " + name + " cannot be written");
}

void TWriter::WriteIdent(const AnsiString& name)
{
    if (!FEmitter.WriteIdent(name))
        throw EWriteError("The identifier " + name + " is too long to be written");
}

void TWriter::WriteWideString(const WideString& value)
{
    FEmitter.WriteWideString(Utf16FromWide(value));
}

void TWriter::WriteUTF16String(const WideString& value)
{
    FEmitter.WriteUtf16(Utf16FromWide(value));
}

void TWriter::DefineProperty(const AnsiString& Name, const TReaderProc&,
                             const TWriterProc& WriteData, bool HasData)
{
    if (!HasData || !WriteData)
        return;
    WriteName(Name);
    WriteData(*this);
}

bool TWriter::ShouldWrite(TPersistent* instance, const TPropInfo& prop)
{
    if (!prop.IsStored(instance))
        return false;
    TPersistent* ancestor = Ancestor();
    switch (prop.Kind) {
    case TTypeKind::tkString:
        if (!prop.GetStr)
            return false;
        return ancestor ? prop.GetStr(instance) != prop.GetStr(ancestor)
                        : !prop.GetStr(instance).empty();
    case TTypeKind::tkWString:
        if (!prop.GetWStr)
            return false;
        return ancestor ? prop.GetWStr(instance) != prop.GetWStr(ancestor)
                        : !prop.GetWStr(instance).empty();
    default:
        if (!prop.GetOrd)
            return false;
        return ancestor ? prop.GetOrd(instance) != prop.GetOrd(ancestor)
                        : prop.GetOrd(instance) != prop.Default;
    }
}

void TWriter::WritePublished(TPersistent* instance, const TPropInfo& prop)
{
    WriteName(prop.Name);
    switch (prop.Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkWChar:
        WriteInteger(prop.GetOrd(instance));
        return;
    case TTypeKind::tkBool:
        WriteBoolean(prop.GetOrd(instance) != 0);
        return;
    case TTypeKind::tkEnumeration: {
        const int value = prop.GetOrd(instance);
        if (value < 0 || static_cast<size_t>(value) >= prop.EnumNames.size())
            throw EWriteError(AnsiString(prop.Name) + " holds no value of its type");
        WriteIdent(prop.EnumNames[static_cast<size_t>(value)]);
        return;
    }
    case TTypeKind::tkString:
        WriteString(prop.GetStr(instance));
        return;
    case TTypeKind::tkWString:
        WriteWideString(prop.GetWStr(instance));
        return;
    }
}
