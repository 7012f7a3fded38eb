#include "StoredSettings.h"

#include "CommandShortCuts.h"

#include <algorithm>
#include <string>
#include <type_traits>

namespace {

const char* const kForm = "FORM";
const char* const kRecent = "RECENT";
const char* const kRename = "RENAME";

// Calls visit(key, field) for each FORM key but BARFIX, in the order a
// close writes them; form is a TFormKeys, const for writing.
template <class TForm, class TVisit> void ForEachFormKey(TForm& form, TVisit visit)
{
    visit("FORM_LEFT", form.Geometry.Main.Left);
    visit("FORM_TOP", form.Geometry.Main.Top);
    visit("FORM_WIDTH", form.Geometry.Main.Width);
    visit("FORM_HEIGHT", form.Geometry.Main.Height);
    visit("COLUMN0_WIDTH", form.Column0Width);
    visit("MASTERPANEL_HEIGHT", form.Geometry.MasterPanelHeight);
    visit("EXPPANEL_WIDTH", form.Geometry.ExpPanelWidth);
    visit("FILELIST_LEFT", form.Geometry.FileList.Left);
    visit("FILELIST_TOP", form.Geometry.FileList.Top);
    visit("FILELIST_WIDTH", form.Geometry.FileList.Width);
    visit("FILELIST_HEIGHT", form.Geometry.FileList.Height);
    visit("FILELIST_NAME", form.FileListNameWidth);
    visit("FILELIST_VIEW", form.FileListView);
    visit("SUBWINDOW_NUM", form.SubWindow);
}

// The same for the RENAME keys.
template <class TRename, class TVisit> void ForEachRenameKey(TRename& rename, TVisit visit)
{
    visit("ACTIVEPAGE", rename.ActivePage);
    visit("ADD_CHECK", rename.AddCheck);
    visit("ADD_SP1", rename.AddSp1);
    visit("ADD_SP2", rename.AddSp2);
    visit("ADD_EDIT1", rename.AddEdit1);
    visit("ADD_CB1", rename.AddCb1);
    visit("DEL_CHECK", rename.DelCheck);
    visit("DEL_EDIT2", rename.DelEdit2);
    visit("DEL_CB2", rename.DelCb2);
    visit("DEL_SP3", rename.DelSp3);
    visit("DEL_SP4", rename.DelSp4);
    visit("CHANGE_CHECK", rename.ChangeCheck);
    visit("CHANGE_EDIT3", rename.ChangeEdit3);
    visit("CHANGE_EDIT4", rename.ChangeEdit4);
    visit("MANUAL_EDIT5", rename.ManualEdit5);
    visit("MANUAL_CHK", rename.ManualChk);
    visit("MANUAL_EDIT6", rename.ManualEdit6);
    visit("MANUAL_CB3", rename.ManualCb3);
}

// Reads a key into its field; the field's value is the default.
auto KeyReader(const TIniContent& ini, const char* section)
{
    return [&ini, section](const char* key, auto& field) {
        using TField = std::remove_reference_t<decltype(field)>;
        if constexpr (std::is_same_v<TField, bool>)
            field = ini.ReadBool(section, key, field);
        else if constexpr (std::is_same_v<TField, int>)
            field = ini.ReadInteger(section, key, field);
        else
            field = ini.ReadString(section, key, field);
    };
}

// Writes a field under its key; written turns false for good when the file
// cannot hold a value.
auto KeyWriter(TIniContent& ini, const char* section, bool& written)
{
    return [&ini, section, &written](const char* key, const auto& field) {
        using TField = std::remove_cvref_t<decltype(field)>;
        bool ok;
        if constexpr (std::is_same_v<TField, bool>)
            ok = ini.WriteBool(section, key, field);
        else if constexpr (std::is_same_v<TField, int>)
            ok = ini.WriteInteger(section, key, field);
        else
            ok = ini.WriteString(section, key, field);
        written = written && ok;
    };
}

// The list as it ends after taking each of RecentFilesToAdd first in turn:
// newest first, a path named twice where it was put last.
std::vector<AnsiString> ReadRecentFiles(const TIniContent& ini)
{
    const std::vector<AnsiString> added = RecentFilesToAdd(ini, kRecentFileLimit);
    std::vector<AnsiString> list;
    for (auto path = added.rbegin(); path != added.rend(); ++path)
        if (std::find(list.begin(), list.end(), *path) == list.end())
            list.push_back(*path);
    return list;
}

bool WriteRecentFiles(TIniContent& ini, const std::vector<AnsiString>& files)
{
    bool written = ini.WriteInteger(kRecent, "COUNT", static_cast<int>(files.size()));
    for (size_t i = 0; i < files.size(); ++i)
        written = written && ini.WriteString(kRecent, std::to_string(i), files[i]);
    // A section of any length goes in one pass over it.
    std::vector<AnsiString> stale;
    for (size_t i = files.size();
         i < kRecentFileLimit || ini.ValueExists(kRecent, std::to_string(i)); ++i)
        stale.push_back(std::to_string(i));
    ini.DeleteKeys(kRecent, stale);
    return written;
}

} // namespace

TStoredSettings ReadStoredSettings(const TIniContent& ini)
{
    TStoredSettings settings;
    settings.Option = ReadOption(ini);
    settings.Playback.MasterVol = ini.ReadInteger("AUDIO", "MASTERVOL", 0);
    settings.Playback.Loop = ini.ReadBool("AUDIO", "LOOP", false);
    settings.Form.BarFix = ini.ReadBool(kForm, "BARFIX", settings.Form.BarFix);
    ForEachFormKey(settings.Form, KeyReader(ini, kForm));
    for (int i = 0; i < kCommandCount; ++i)
        settings.ShortCuts.push_back(ReadCommandShortCut(ini, CommandInfo(i)));
    settings.RecentFiles = ReadRecentFiles(ini);
    ForEachRenameKey(settings.Rename, KeyReader(ini, kRename));
    return settings;
}

bool WriteStoredSettings(TIniContent& ini, const TStoredSettings& settings)
{
    bool written = WriteOption(ini, settings.Option, settings.Playback);
    ForEachFormKey(settings.Form, KeyWriter(ini, kForm, written));
    for (size_t i = 0; i < settings.ShortCuts.size() && i < kCommandCount; ++i)
        written = written && WriteCommandShortCut(ini, CommandInfo(static_cast<int>(i)).Name,
                                                  settings.ShortCuts[i]);
    written = WriteRecentFiles(ini, settings.RecentFiles) && written;
    ForEachRenameKey(settings.Rename, KeyWriter(ini, kRename, written));
    written = written && ini.WriteBool(kForm, "BARFIX", settings.Form.BarFix);
    return written && WriteLoadListType(ini, settings.Option);
}
