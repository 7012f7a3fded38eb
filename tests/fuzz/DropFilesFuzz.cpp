// Fuzz target: the reader of dropped file lists over arbitrary bytes. The
// first byte picks what the rest is: a CF_HDROP block (even), or a name map
// (odd; wide when bit 1 is set). Wide names convert only when they are
// ASCII. Besides crashes and undefined behaviour it stops on a name that is
// empty or holds a NUL, on more name bytes than the block holds, and on a
// lost name that was ASCII.
#include "controls/DropFiles.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

std::optional<AnsiString> FuzzAsciiOnly(const std::u16string& wide)
{
    if (!std::all_of(wide.begin(), wide.end(), [](char16_t c) { return c < 0x80; }))
        return std::nullopt;
    return AnsiString(wide.begin(), wide.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    TMemoryByteSource block(data + 1, size - 1);
    const TDropNames names = (data[0] & 1)
                                 ? ReadDropNameMap(block, (data[0] & 2) != 0, FuzzAsciiOnly)
                                 : ReadDropFileBlock(block, FuzzAsciiOnly);
    std::size_t bytes = 0;
    for (const AnsiString& name : names.Names) {
        if (name.empty() || name.find('\0') != AnsiString::npos)
            __builtin_trap();
        bytes += name.size() + 1;
    }
    for (const std::u16string& lost : names.Lost) {
        if (lost.empty() || lost.find(u'\0') != std::u16string::npos || FuzzAsciiOnly(lost))
            __builtin_trap();
        bytes += 2 * (lost.size() + 1);
    }
    if (bytes > size)
        __builtin_trap();
    LostDropNamesReport(names.Lost);
    return 0;
}
