#include "RegionFileDisk.h"

#include "classlib/FileByteSource.h"
#include "classlib/FilePaths.h"
#include "classlib/WideText.h"

namespace {

const std::string kUtf8Mark = "\xEF\xBB\xBF";
// What a character the code page lacks becomes, as in a name made safe for
// a file.
constexpr char kUnheldCharacter = '_';

} // namespace

bool SaveRegionListFile(const AnsiString& path, const TRegionListFile& list)
{
    TIniContent ini;
    return WriteRegionList(ini, list) && WriteFileReplacing(path, ini.Text());
}

std::optional<TIniContent> ReadRegionListFile(const AnsiString& path)
{
    TIniContent ini;
    if (!FileExists(path))
        return ini;
    TFileByteSource source(path);
    AnsiString text;
    if (!source.IsOpen() || !ReadWholeSource(source, text))
        return std::nullopt;
    // A text editor may save the list as UTF-8 with its mark; read in the
    // code page, the mark would become part of the first section's name.
    if (text.starts_with(kUtf8Mark))
        text = AnsiFromUtf8(text.substr(kUtf8Mark.size()), kUnheldCharacter);
    ini.ParseText(text);
    return ini;
}
