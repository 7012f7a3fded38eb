// The binary form of a component description, without the platform.
//
//   description  the signature "ZPF1", the class name and the component
//                name (short strings), then (property name, value) pairs
//                ending in a 0 byte
//   short string a length byte and that many bytes
//   value        a type byte (TValueType) and its data, little-endian:
//                vaInt8/16/32 a signed integer of 1, 2 or 4 bytes;
//                vaString a short string; vaIdent an identifier as a short
//                string; vaFalse, vaTrue nothing; vaLString a 32-bit length
//                and the bytes; vaWString a 32-bit count and UTF-16 units;
//                vaUTF8String a 32-bit length and UTF-8 bytes
//
//   TStreamValue   one value as read
//   TValueScanner  reads a description through a byte source; every read
//                  answers false on bytes that do not form what was asked
//                  (an unknown type byte, a count beyond the end)
//   TValueEmitter  writes a description into memory
//
// TReader and TWriter (Filer) put property tables over these. This header
// includes nothing of the platform, so the reading builds natively for
// fuzzing.
#pragma once

#include "ByteSource.h"

#include <cstdint>
#include <string>
#include <vector>

enum class TValueType : std::uint8_t
{
    vaNull = 0, // ends a list of properties
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaLString = 12,
    vaWString = 18,
    vaUTF8String = 20,
};

inline constexpr char kDescriptionSignature[4] = {'Z', 'P', 'F', '1'};

struct TStreamValue
{
    TValueType Type = TValueType::vaNull;
    std::int32_t Integer = 0; // vaInt8, vaInt16, vaInt32
    std::string Bytes;        // vaString, vaIdent, vaLString, vaUTF8String
    std::u16string Wide;      // vaWString

    bool IsInteger() const;
    // Any of the four string kinds.
    bool IsString() const;
    bool operator==(const TStreamValue& other) const = default;
};

class TValueScanner
{
public:
    explicit TValueScanner(TByteSource& source, std::uint64_t start = 0)
        : FSource(source), FPosition(start)
    {
    }

    std::uint64_t Position() const { return FPosition; }

    bool ReadSignature();
    bool ReadShortString(std::string& out);
    // The type byte of the next value, left in place.
    bool PeekType(TValueType& type);
    // True (and the 0 taken) when the list of properties ends here.
    bool ReadEndOfList();
    bool ReadValue(TStreamValue& value);
    bool SkipValue();

private:
    bool ReadBytes(void* buffer, std::size_t count);
    template <class T> bool ReadLittleEndian(T& value);
    // A 32-bit count of units of unitBytes that the rest of the source holds.
    bool ReadCount(std::size_t unitBytes, std::uint32_t& count);

    TByteSource& FSource;    // not owned
    std::uint64_t FPosition; // bytes from the start of the source
};

class TValueEmitter
{
public:
    void WriteSignature();
    // Names longer than 255 bytes cannot be written: false, nothing written.
    bool WriteShortString(const std::string& text);
    void WriteEndOfList();
    // The smallest integer type that holds value.
    void WriteInteger(std::int32_t value);
    void WriteBoolean(bool value);
    bool WriteIdent(const std::string& name);
    // vaString up to 255 bytes, else vaLString.
    void WriteString(const std::string& bytes);
    // Always vaWString.
    void WriteUtf16(const std::u16string& text);
    // vaUTF8String when its UTF-8 form is shorter than its UTF-16 form,
    // else vaWString (also for text that UTF-8 cannot carry).
    void WriteWideString(const std::u16string& text);

    const std::vector<std::uint8_t>& Bytes() const { return FBytes; }

private:
    void WriteType(TValueType type);
    template <class T> void WriteLittleEndian(T value);
    void WriteCounted(TValueType type, const void* data, std::uint32_t count,
                      std::size_t unitBytes);

    std::vector<std::uint8_t> FBytes;
};
