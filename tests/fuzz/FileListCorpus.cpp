// Writes the starting inputs of the file-list fuzz target into the folder
// named by the first argument: a list of WAV files and region lists (names
// in code page 932 with trail bytes 0x5C) carrying the region list they
// read, a region list whose WAV file moved beside it, lines ending in CR,
// LF or nothing, the same cut inside a double-byte character, and lists
// whose region list lies about its count or cannot be read.
#include "CorpusWrite.h"
#include "dialogs/FileListRules.h"

#include <string>

namespace {

const AnsiString kWav = "C:\\\x98\x5E\x89\xB9\\\x95\x5C.wav"; // 録音\表.wav

AnsiString CorpusRegionList(const AnsiString& wavPath, const AnsiString& count)
{
    return "[FILE_INFO]\r\nWAV_FILE_PATH=" + wavPath + "\r\nREGION_COUNT=" + count +
           "\r\nCUTPOINT_COUNT=0\r\n";
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = CorpusFolder(argc, argv);
    if (folder.empty())
        return 2;
    const AnsiString list =
        FileListText({kWav, "C:\\\x98\x5E\x89\xB9\\\x83\x5C.rgl", "D:\\b.WAV", kWav, "x.RGL"}) +
        CorpusRegionList(kWav, "3");
    bool ok = CorpusWriteText(folder, "list", list) &&
              CorpusWriteText(folder, "cut", list.substr(0, 17)) &&
              CorpusWriteText(folder, "moved",
                              "E:\\new\\a.rgl\nE:\\new\\!a.wav?\r" +
                                  CorpusRegionList("C:\\old!\\!a.wav?", "1")) &&
              CorpusWriteText(folder, "counts",
                              "a.rgl\r\nb#.rgl\r\n\r\n" + CorpusRegionList("c.wav", "-1") +
                                  "[FILE_INFO]\r\nREGION_COUNT=2000000000\r\n") &&
              CorpusWriteText(folder, "blank", "\r\n\n\r \r\n.wav\r\n\x83");
    return ok ? 0 : 1;
}
