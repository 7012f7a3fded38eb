// The file names of a drop from the shell: the CF_HDROP block (a DROPFILES
// header and a list of names) and the name maps offered beside it, read
// through a byte source that spans exactly the block's memory.
//
//   DROPFILES  bytes 0-3 the offset of the names (pFiles), 4-11 the drop
//              point, 12-15 the non-client flag, 16-19 the wide flag (fWide);
//              then, at pFiles, NUL-terminated names ended by an empty name,
//              in bytes of the ANSI code page or, when fWide is set, in
//              UTF-16 units (not necessarily aligned)
//   name map   the same list without a header ("FileNameMap" ANSI,
//              "FileNameMapW" UTF-16)
//
// The block comes from another process, so nothing in it is trusted: the
// reading stays inside the block, and a block that does not hold a whole
// list (too short for its header, pFiles outside it or inside the header,
// no empty name before its end) holds no names at all. Wide names reach the
// caller in the ANSI code page only when the code page holds them exactly;
// the others are kept apart, so that the owner can say which files it
// cannot open instead of opening a look-alike. This unit includes nothing
// of the platform, so that it builds natively for fuzzing.
#pragma once

#include "classlib/ByteSource.h"
#include "classlib/StringTypes.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

constexpr std::size_t kDropFilesHeaderBytes = 20;

// A wide name in the ANSI code page, or none when the code page cannot
// hold every character of it (no best-fit look-alikes, no "?").
using TDropNameConverter = std::function<std::optional<AnsiString>(const std::u16string&)>;

struct TDropNames
{
    std::vector<AnsiString> Names;    // in the list's order
    std::vector<std::u16string> Lost; // wide names the code page cannot hold

    std::size_t Count() const { return Names.size() + Lost.size(); }
};

// The names of a CF_HDROP block.
TDropNames ReadDropFileBlock(TByteSource& block, const TDropNameConverter& toAnsi);
// The names of a name map, wide or not.
TDropNames ReadDropNameMap(TByteSource& block, bool wide, const TDropNameConverter& toAnsi);

// The text that tells which dropped files cannot be opened: a sentence, then
// one name a line, at most ten, then "ほか n 件" for the rest.
std::u16string LostDropNamesReport(const std::vector<std::u16string>& lost);
