// Writes the starting inputs of the region-list fuzz target into the folder
// named by the first argument: a whole list with regions in every output
// mode, names in code page 932 and cut bars, the same cut short, and lists
// with lying or unreadable counts, odd volumes and lower-case names.
#include "CorpusWrite.h"
#include "editor/RegionFile.h"

#include <string>

namespace {

AnsiString CorpusList()
{
    TRegionListFile list;
    list.WavPath = "C:\\\x98\x5E\x89\xB9\\\x95\x5C.wav"; // 録音, 表: trail bytes 0x5E, 0x5C
    const TOutputMode modes[] = {TOutputMode::NoTouch, TOutputMode::MonoMix, TOutputMode::MonoLeft,
                                 TOutputMode::MonoRight, TOutputMode::Swap};
    for (int i = 0; i < 5; ++i)
        list.Regions.push_back(
            {"\x83\x5C_0" + std::to_string(i), i * 1000, i * 1000 + 500, i * 0.25 + 0.5, modes[i]});
    for (int j = 0; j < 4; ++j)
        list.CutBars.push_back(CutBarEntryText(j * 777));
    TIniContent ini;
    return WriteRegionList(ini, list) ? ini.Text() : AnsiString();
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = CorpusFolder(argc, argv);
    if (folder.empty())
        return 2;
    const AnsiString whole = CorpusList();
    bool ok = CorpusWriteText(folder, "whole.rgl", whole) &&
              CorpusWriteText(folder, "cut.rgl", whole.substr(0, whole.size() * 2 / 3)) &&
              CorpusWriteText(folder, "counts.rgl",
                              "[file_info]\nREGION_COUNT=2000000000\nCUTPOINT_COUNT=-7\n"
                              "[REGION_0]\nREGION_NAME= NULL \nREGION_START=$10\nREGION_END=0x20\n"
                              "REGION_VOL=1e-3\nREGION_OUT=swap\n") &&
              CorpusWriteText(folder, "points.rgl",
                              "; note\r[FILE_INFO]\rCUTPOINT_COUNT=3\r[CUTPOINT]\rPOINT_0=12\r"
                              "point_1=000000000003\rPOINT_2=2147483647\r[CUTPOINT]\rPOINT_2=1\r");
    ok = ok && CorpusWriteText(folder, "wordcount.rgl",
                               "[FILE_INFO]\r\nREGION_COUNT=1 region\r\nCUTPOINT_COUNT=+0\r\n"
                               "[REGION_0]\r\nREGION_NAME=a\r\nREGION_START=0\r\n"
                               "REGION_END=9\r\nREGION_VOL=1\r\nREGION_OUT=MonoMix\r\n");
    return ok ? 0 : 1;
}
