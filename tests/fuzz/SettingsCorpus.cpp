// Writes the starting inputs of the settings fuzz target into the folder
// named by the first argument: a whole settings file as the program writes
// it (the record, every shortcut, recent files in code page 932, the
// window geometry, the toolbars' places docked and floating), the same cut
// short, and files with broken numbers, lying counts, windows off every
// screen, panes beyond their window and unknown docks. Into the folder
// named second, to be replayed only: a RECENT section of 20,000 keys, which
// only a write-back linear in the file's size gets through within the
// fuzzer's time for an input.
#include "CorpusWrite.h"
#include "editor/CommandShortCuts.h"
#include "editor/Settings.h"
#include "editor/StoredGeometry.h"

#include <string>

namespace {

AnsiString CorpusWholeFile()
{
    TIniContent ini;
    TOption option;
    option.OutDevice = "\x83\x5C\x83\x7C device"; // ソポ: trail bytes "\" and "|"
    bool ok = WriteOption(ini, option, {12, true});
    for (int i = 0; i < kCommandCount; ++i)
        ok = ok && WriteCommandShortCut(ini, CommandInfo(i).Name, DefaultShortCut(CommandInfo(i)));
    const TStoredGeometry geometry;
    ok = ok && ini.WriteInteger("FORM", "FORM_LEFT", geometry.Main.Left) &&
         ini.WriteInteger("FORM", "FORM_TOP", geometry.Main.Top) &&
         ini.WriteInteger("FORM", "FORM_WIDTH", geometry.Main.Width) &&
         ini.WriteInteger("FORM", "FORM_HEIGHT", geometry.Main.Height) &&
         ini.WriteInteger("FORM", "MASTERPANEL_HEIGHT", geometry.MasterPanelHeight) &&
         ini.WriteInteger("FORM", "EXPPANEL_WIDTH", geometry.ExpPanelWidth) &&
         ini.WriteInteger("FORM", "FILELIST_LEFT", geometry.FileList.Left) &&
         ini.WriteInteger("FORM", "FILELIST_TOP", geometry.FileList.Top) &&
         ini.WriteInteger("FORM", "FILELIST_WIDTH", geometry.FileList.Width) &&
         ini.WriteInteger("FORM", "FILELIST_HEIGHT", geometry.FileList.Height);
    ok = ok && ini.WriteInteger("RECENT", "COUNT", 3) &&
         ini.WriteString("RECENT", "0", "C:\\\x95\x5C\\a.rgl") &&
         ini.WriteString("RECENT", "1", "C:\\b.wav") && ini.WriteString("RECENT", "2", "");
    const char* bars[] = {"FileBar", "ModeBar", "TransportBar", "ZoomBar", "Toolbar"};
    for (int k = 0; k < 5; ++k) {
        ok = ok && ini.WriteInteger(bars[k], "Rev", 2000) &&
             ini.WriteInteger(bars[k], "Visible", k != 3) &&
             ini.WriteString(bars[k], "DockedTo", k == 4 ? "+" : "SkinDock2") &&
             ini.WriteString(bars[k], "LastDock", "SkinDock2") &&
             ini.WriteInteger(bars[k], "DockRow", k / 2) &&
             ini.WriteInteger(bars[k], "DockPos", 120 * (k % 2)) &&
             ini.WriteInteger(bars[k], "FloatLeft", 300) &&
             ini.WriteInteger(bars[k], "FloatTop", 200) &&
             ini.WriteInteger(bars[k], "FloatRightX", 0);
    }
    ok = ok && ini.WriteInteger("MenuBar", "Rev", 2000) &&
         ini.WriteString("MenuBar", "DockedTo", "") && WriteLoadListType(ini, option);
    return ok ? ini.Text() : AnsiString();
}

AnsiString CorpusManyRecentKeys()
{
    AnsiString text = "[RECENT]\r\nCOUNT=3\r\n";
    for (int i = 0; i < 20000; ++i)
        text += std::to_string(i) + "=C:\\take\\" + std::to_string(i) + ".wav\r\n";
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = CorpusFolder(argc, argv);
    if (folder.empty())
        return 2;
    const AnsiString whole = CorpusWholeFile();
    bool ok = !whole.empty() && CorpusWriteText(folder, "whole.ini", whole) &&
              CorpusWriteText(folder, "cut.ini", whole.substr(0, whole.size() / 3)) &&
              CorpusWriteText(folder, "broken.ini",
                              "[AUDIO]\r\nBUFSIZE=-99999\r\nBUFCOUNT=$FFFFF\r\nMASTERVOL=7\r\n"
                              "[VIEW]\r\nDISPSIZE=0x7fffffff\r\n[LOADLIST]\r\nTYPE=-1\r\n"
                              "[SHORTCUT]\r\nactFileOpen_SHIFT=-8\r\nactFileOpen_KEY=256\r\n"
                              "actHelp_SHIFT=7\r\nactHelp_KEY=$70\r\n") &&
              CorpusWriteText(folder, "counts.ini",
                              "[RECENT]\nCOUNT=-7\n0=a\n[recent]\ncount=99\n9=z\n"
                              "[FileBar]\nRev=2000\nDockedTo=skindock2\nDockRow=-3\n"
                              "DockPos=2147483647\n[ModeBar]\nRev=$7D0\nDockedTo=SkinDock1\n"
                              "[ZoomBar]\nRev=2000\nDockedTo=Gone\nVisible=0\n") &&
              CorpusWriteText(folder, "geometry.ini",
                              "[FORM]\nFORM_LEFT=50000\nFORM_TOP=-3000\nFORM_WIDTH=0\n"
                              "FORM_HEIGHT=2147483647\nMASTERPANEL_HEIGHT=-50\n"
                              "EXPPANEL_WIDTH=2147483647\nFILELIST_LEFT=-2147483648\n"
                              "FILELIST_TOP=$7FFFFFFF\nFILELIST_WIDTH=-1\n");
    const std::string replay = CorpusReplayFolder(argc, argv);
    ok = ok &&
         (replay.empty() || CorpusWriteText(replay, "recent-many.ini", CorpusManyRecentKeys()));
    return ok ? 0 : 1;
}
