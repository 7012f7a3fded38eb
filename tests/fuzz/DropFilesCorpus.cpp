// Writes the starting inputs of the dropped-file-list fuzz target into the
// folder named by the first argument: ANSI and wide CF_HDROP blocks (one
// unaligned, one with a name outside ASCII) and name maps.
#include "CorpusWrite.h"
#include "controls/DropFiles.h"

#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

void CorpusAddName(Bytes& bytes, const std::u16string& name, bool wide)
{
    for (char16_t c : name + u'\0') {
        bytes.push_back(static_cast<std::uint8_t>(c));
        if (wide)
            bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
}

// The mode byte, then the block or map.
Bytes CorpusInput(std::uint8_t mode, const std::vector<std::u16string>& names, bool wide,
                  std::size_t gap)
{
    Bytes bytes{mode};
    if (!(mode & 1)) {
        Bytes header(kDropFilesHeaderBytes + gap, 0);
        header[0] = static_cast<std::uint8_t>(header.size());
        header[16] = wide ? 1 : 0;
        bytes.insert(bytes.end(), header.begin(), header.end());
    }
    for (const std::u16string& name : names)
        CorpusAddName(bytes, name, wide);
    CorpusAddName(bytes, u"", wide);
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = CorpusFolder(argc, argv);
    if (folder.empty())
        return 2;
    const std::vector<std::u16string> names = {u"C:\\a.wav", u"C:\\b\\c.rgl", u"D:\\\u4E00.wav"};
    bool ok = CorpusWrite(folder, "ansi", CorpusInput(0, {u"C:\\a.wav", u"C:\\b.rgl"}, false, 0)) &&
              CorpusWrite(folder, "wide", CorpusInput(0, names, true, 0)) &&
              CorpusWrite(folder, "wide-odd", CorpusInput(0, names, true, 1)) &&
              CorpusWrite(folder, "map", CorpusInput(1, {u"x.wav"}, false, 0)) &&
              CorpusWrite(folder, "map-wide", CorpusInput(3, names, true, 0));
    return ok ? 0 : 1;
}
