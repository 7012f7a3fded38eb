// Fuzz target: the UTF-7 codec. The input is decoded as UTF-7, and also
// taken as UTF-16 units (two bytes each, little-endian) to encode. Besides
// crashes and undefined behaviour it stops when encoded text is not 7-bit,
// when encoding fails, or when a round trip does not give the text back.
#include "unicode/UniUTF7.h"

#include <cstddef>
#include <cstdint>

namespace {

void CheckRoundTrip(const std::u16string& text)
{
    std::string utf7;
    if (Utf7Encode(text, utf7) != TUtf7Result::Ok)
        __builtin_trap();
    for (char c : utf7)
        if (static_cast<unsigned char>(c) > 127)
            __builtin_trap();
    std::u16string back;
    if (Utf7Decode(utf7, back) != TUtf7Result::Ok || back != text)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::u16string decoded;
    if (Utf7Decode(bytes, decoded) == TUtf7Result::Ok)
        CheckRoundTrip(decoded);

    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    CheckRoundTrip(units);
    return 0;
}
