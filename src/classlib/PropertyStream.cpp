#include "PropertyStream.h"

#include "Utf8.h"

#include <cstring>
#include <limits>

bool TStreamValue::IsInteger() const
{
    return Type == TValueType::vaInt8 || Type == TValueType::vaInt16 || Type == TValueType::vaInt32;
}

bool TStreamValue::IsString() const
{
    return Type == TValueType::vaString || Type == TValueType::vaLString ||
           Type == TValueType::vaWString || Type == TValueType::vaUTF8String;
}

// ---------------------------------------------------------------------------
// TValueScanner

bool TValueScanner::ReadBytes(void* buffer, std::size_t count)
{
    if (count == 0)
        return true;
    if (!FSource.ReadExact(FPosition, buffer, count))
        return false;
    FPosition += count;
    return true;
}

template <class T> bool TValueScanner::ReadLittleEndian(T& value)
{
    unsigned char bytes[sizeof(T)];
    if (!ReadBytes(bytes, sizeof(T)))
        return false;
    std::uint32_t bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        bits = (bits << 8) | bytes[i];
    value = static_cast<T>(bits);
    return true;
}

bool TValueScanner::ReadCount(std::size_t unitBytes, std::uint32_t& count)
{
    std::int32_t signedCount = 0;
    if (!ReadLittleEndian(signedCount) || signedCount < 0)
        return false;
    count = static_cast<std::uint32_t>(signedCount);
    const std::uint64_t size = FSource.Size();
    // Checked before anything is allocated for it.
    return FPosition <= size && static_cast<std::uint64_t>(count) * unitBytes <= size - FPosition;
}

bool TValueScanner::ReadSignature()
{
    char signature[sizeof kDescriptionSignature];
    return ReadBytes(signature, sizeof signature) &&
           std::memcmp(signature, kDescriptionSignature, sizeof signature) == 0;
}

bool TValueScanner::ReadShortString(std::string& out)
{
    std::uint8_t length = 0;
    if (!ReadLittleEndian(length))
        return false;
    std::string text(length, '\0');
    if (!ReadBytes(text.data(), length))
        return false;
    out = std::move(text);
    return true;
}

bool TValueScanner::PeekType(TValueType& type)
{
    std::uint8_t byte = 0;
    if (!FSource.ReadExact(FPosition, &byte, 1))
        return false;
    type = static_cast<TValueType>(byte);
    return true;
}

bool TValueScanner::ReadEndOfList()
{
    TValueType type;
    if (!PeekType(type) || type != TValueType::vaNull)
        return false;
    ++FPosition;
    return true;
}

bool TValueScanner::ReadValue(TStreamValue& value)
{
    const std::uint64_t start = FPosition;
    std::uint8_t typeByte = 0;
    if (!ReadLittleEndian(typeByte))
        return false;
    TStreamValue result;
    result.Type = static_cast<TValueType>(typeByte);
    bool ok = false;
    switch (result.Type) {
    case TValueType::vaInt8: {
        std::int8_t v = 0;
        ok = ReadLittleEndian(v);
        result.Integer = v;
        break;
    }
    case TValueType::vaInt16: {
        std::int16_t v = 0;
        ok = ReadLittleEndian(v);
        result.Integer = v;
        break;
    }
    case TValueType::vaInt32:
        ok = ReadLittleEndian(result.Integer);
        break;
    case TValueType::vaString:
    case TValueType::vaIdent:
        ok = ReadShortString(result.Bytes);
        break;
    case TValueType::vaFalse:
    case TValueType::vaTrue:
        ok = true;
        break;
    case TValueType::vaLString:
    case TValueType::vaUTF8String: {
        std::uint32_t count = 0;
        ok = ReadCount(1, count);
        if (ok) {
            result.Bytes.resize(count);
            ok = ReadBytes(result.Bytes.data(), count);
        }
        break;
    }
    case TValueType::vaWString: {
        std::uint32_t count = 0;
        ok = ReadCount(2, count);
        for (std::uint32_t i = 0; ok && i < count; ++i) {
            std::uint16_t unit = 0;
            ok = ReadLittleEndian(unit);
            result.Wide += static_cast<char16_t>(unit);
        }
        break;
    }
    default:
        break;
    }
    if (!ok) {
        FPosition = start;
        return false;
    }
    value = std::move(result);
    return true;
}

bool TValueScanner::SkipValue()
{
    TStreamValue ignored;
    return ReadValue(ignored);
}

// ---------------------------------------------------------------------------
// TValueEmitter

void TValueEmitter::WriteType(TValueType type)
{
    FBytes.push_back(static_cast<std::uint8_t>(type));
}

template <class T> void TValueEmitter::WriteLittleEndian(T value)
{
    auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i, bits >>= 8)
        FBytes.push_back(static_cast<std::uint8_t>(bits & 0xFF));
}

void TValueEmitter::WriteCounted(TValueType type, const void* data, std::uint32_t count,
                                 std::size_t unitBytes)
{
    WriteType(type);
    WriteLittleEndian(static_cast<std::int32_t>(count));
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    FBytes.insert(FBytes.end(), bytes, bytes + count * unitBytes);
}

void TValueEmitter::WriteSignature()
{
    FBytes.insert(FBytes.end(), std::begin(kDescriptionSignature), std::end(kDescriptionSignature));
}

bool TValueEmitter::WriteShortString(const std::string& text)
{
    if (text.size() > 255)
        return false;
    FBytes.push_back(static_cast<std::uint8_t>(text.size()));
    FBytes.insert(FBytes.end(), text.begin(), text.end());
    return true;
}

void TValueEmitter::WriteEndOfList()
{
    WriteType(TValueType::vaNull);
}

void TValueEmitter::WriteInteger(std::int32_t value)
{
    if (value >= std::numeric_limits<std::int8_t>::min() &&
        value <= std::numeric_limits<std::int8_t>::max()) {
        WriteType(TValueType::vaInt8);
        WriteLittleEndian(static_cast<std::int8_t>(value));
    } else if (value >= std::numeric_limits<std::int16_t>::min() &&
               value <= std::numeric_limits<std::int16_t>::max()) {
        WriteType(TValueType::vaInt16);
        WriteLittleEndian(static_cast<std::int16_t>(value));
    } else {
        WriteType(TValueType::vaInt32);
        WriteLittleEndian(value);
    }
}

void TValueEmitter::WriteBoolean(bool value)
{
    WriteType(value ? TValueType::vaTrue : TValueType::vaFalse);
}

bool TValueEmitter::WriteIdent(const std::string& name)
{
    if (name.size() > 255)
        return false;
    WriteType(TValueType::vaIdent);
    return WriteShortString(name);
}

void TValueEmitter::WriteString(const std::string& bytes)
{
    if (bytes.size() <= 255) {
        WriteType(TValueType::vaString);
        WriteShortString(bytes);
        return;
    }
    WriteCounted(TValueType::vaLString, bytes.data(), static_cast<std::uint32_t>(bytes.size()), 1);
}

void TValueEmitter::WriteUtf16(const std::u16string& text)
{
    WriteType(TValueType::vaWString);
    WriteLittleEndian(static_cast<std::int32_t>(text.size()));
    for (char16_t unit : text)
        WriteLittleEndian(static_cast<std::uint16_t>(unit));
}

void TValueEmitter::WriteWideString(const std::u16string& text)
{
    std::string utf8;
    if (Utf16ToUtf8(text, utf8) && utf8.size() < text.size() * 2) {
        WriteCounted(TValueType::vaUTF8String, utf8.data(), static_cast<std::uint32_t>(utf8.size()),
                     1);
        return;
    }
    WriteUtf16(text);
}
