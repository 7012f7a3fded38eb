#include "DropFiles.h"

#include <cstdint>
#include <limits>

namespace {

constexpr std::size_t kDropNamesOffsetAt = 0;
constexpr std::size_t kDropWideFlagAt = 16;
constexpr std::size_t kLostNamesShown = 10;

std::uint32_t DropLittleEndian32(const std::uint8_t* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | std::uint32_t(bytes[3]) << 24;
}

// The bytes of source from offset to its end; none when they cannot be read.
std::optional<std::vector<std::uint8_t>> DropBytesFrom(TByteSource& source, std::uint64_t offset)
{
    const std::uint64_t size = source.Size();
    if (offset > size || size - offset > std::numeric_limits<std::size_t>::max() / 2)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size - offset));
    if (!source.ReadExact(offset, bytes.data(), bytes.size()))
        return std::nullopt;
    return bytes;
}

// One unit of the list at index (a byte, or two bytes little-endian).
char16_t DropUnit(const std::vector<std::uint8_t>& bytes, std::size_t index, std::size_t width)
{
    return width == 1 ? bytes[index] : static_cast<char16_t>(bytes[index] | bytes[index + 1] << 8);
}

void DropAddName(TDropNames& names, const std::vector<std::uint8_t>& bytes, std::size_t start,
                 std::size_t end, std::size_t width, const TDropNameConverter& toAnsi)
{
    if (width == 1) {
        names.Names.emplace_back(bytes.begin() + start, bytes.begin() + end);
        return;
    }
    std::u16string wide;
    for (std::size_t i = start; i < end; i += 2)
        wide += DropUnit(bytes, i, 2);
    if (std::optional<AnsiString> ansi = toAnsi(wide))
        names.Names.push_back(std::move(*ansi));
    else
        names.Lost.push_back(std::move(wide));
}

// The names of a list of width-byte units ended by an empty name; none in
// a list that the bytes end before its empty name.
TDropNames DropNameList(const std::vector<std::uint8_t>& bytes, std::size_t width,
                        const TDropNameConverter& toAnsi)
{
    TDropNames names;
    std::size_t start = 0;
    for (std::size_t i = 0; i + width <= bytes.size(); i += width) {
        if (DropUnit(bytes, i, width) != 0)
            continue;
        if (i == start)
            return names;
        DropAddName(names, bytes, start, i, width, toAnsi);
        start = i + width;
    }
    return TDropNames();
}

std::u16string DropWiden(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace

TDropNames ReadDropFileBlock(TByteSource& block, const TDropNameConverter& toAnsi)
{
    std::uint8_t header[kDropFilesHeaderBytes];
    if (!block.ReadExact(0, header, sizeof header))
        return TDropNames();
    const std::uint32_t namesAt = DropLittleEndian32(header + kDropNamesOffsetAt);
    const bool wide = DropLittleEndian32(header + kDropWideFlagAt) != 0;
    std::optional<std::vector<std::uint8_t>> bytes;
    if (namesAt >= kDropFilesHeaderBytes)
        bytes = DropBytesFrom(block, namesAt);
    return bytes ? DropNameList(*bytes, wide ? 2 : 1, toAnsi) : TDropNames();
}

TDropNames ReadDropNameMap(TByteSource& block, bool wide, const TDropNameConverter& toAnsi)
{
    std::optional<std::vector<std::uint8_t>> bytes = DropBytesFrom(block, 0);
    return bytes ? DropNameList(*bytes, wide ? 2 : 1, toAnsi) : TDropNames();
}

std::u16string LostDropNamesReport(const std::vector<std::u16string>& lost)
{
    std::u16string text =
        u"次のファイルは、名前に Shift-JIS で表せない文字が含まれているため読み込めません。";
    for (std::size_t i = 0; i < lost.size() && i < kLostNamesShown; ++i)
        text += u"\r\n" + lost[i];
    if (lost.size() > kLostNamesShown)
        text += u"\r\nほか " + DropWiden(std::to_string(lost.size() - kLostNamesShown)) + u" 件";
    return text;
}
