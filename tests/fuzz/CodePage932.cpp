// The lead bytes of code page 932, for native builds of the class library's
// text helpers: where the program runs, the system answers (TextUtils).
#include "classlib/AnsiText.h"

bool IsLeadByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
