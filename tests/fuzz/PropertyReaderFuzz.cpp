// Fuzz target: reading a component description over arbitrary bytes, as the
// description reader does: the header, then each property's name and value;
// a wide property's "_UTF7" value is decoded as UTF-7 and its "W" value as
// UTF-8. Besides crashes and undefined behaviour it stops when a value read
// does not read back the same after it is written again, and when decoded
// UTF-8 cannot be written as UTF-8 again.
#include "classlib/ByteSource.h"
#include "classlib/PropertyStream.h"
#include "classlib/Utf8.h"
#include "unicode/UniUTF7.h"

#include <cstddef>
#include <cstdint>

namespace {

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void Emit(TValueEmitter& emitter, const TStreamValue& value)
{
    switch (value.Type) {
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
        emitter.WriteInteger(value.Integer);
        return;
    case TValueType::vaFalse:
    case TValueType::vaTrue:
        emitter.WriteBoolean(value.Type == TValueType::vaTrue);
        return;
    case TValueType::vaIdent:
        emitter.WriteIdent(value.Bytes);
        return;
    case TValueType::vaWString:
        emitter.WriteUtf16(value.Wide);
        return;
    default:
        emitter.WriteString(value.Bytes);
        return;
    }
}

// The same value once written again and read back (integer sizes and
// string lengths may pick another type).
void CheckRewrite(const TStreamValue& value)
{
    TValueEmitter emitter;
    Emit(emitter, value);
    TMemoryByteSource source(emitter.Bytes().data(), emitter.Bytes().size());
    TValueScanner scanner(source);
    TStreamValue back;
    if (!scanner.ReadValue(back) || scanner.Position() != emitter.Bytes().size() ||
        back.Integer != value.Integer || back.Bytes != value.Bytes || back.Wide != value.Wide ||
        back.IsString() != value.IsString())
        __builtin_trap();
}

void CheckWideValue(const std::string& name, const TStreamValue& value)
{
    if (!value.IsString() || value.Type == TValueType::vaWString)
        return;
    if (EndsWith(name, "_UTF7")) {
        std::u16string text;
        if (Utf7Decode(value.Bytes, text) == TUtf7Result::Ok) {
            std::string again;
            if (Utf7Encode(text, again) != TUtf7Result::Ok)
                __builtin_trap();
        }
    } else if (EndsWith(name, "W")) {
        const std::u16string text = Utf8ToUtf16(value.Bytes);
        std::string utf8;
        if (!Utf16ToUtf8(text, utf8) || Utf8ToUtf16(utf8) != text)
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryByteSource source(data, size);
    TValueScanner scanner(source);
    std::string className, componentName;
    if (!scanner.ReadSignature() || !scanner.ReadShortString(className) ||
        !scanner.ReadShortString(componentName))
        return 0;
    while (!scanner.ReadEndOfList()) {
        std::string name;
        TStreamValue value;
        if (!scanner.ReadShortString(name) || name.empty() || !scanner.ReadValue(value))
            return 0;
        CheckRewrite(value);
        CheckWideValue(name, value);
    }
    return 0;
}
