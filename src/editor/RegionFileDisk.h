// The region-list file on disk, for the main window's save and load.
//
// Saving makes the whole text anew (nothing of an older file survives) and
// puts it in place through a temporary file, so that a failed save leaves
// the old file whole. Loading reads the whole file into an INI content; the
// rules of both are RegionFile's.
#pragma once

#include "RegionFile.h"

#include <optional>

// Writes list as the region-list file at path. False when the list cannot
// be held by the file or the file cannot be written; the file at path is
// then as it was, and the caller shows RegionFileText::NotSaved.
bool SaveRegionListFile(const AnsiString& path, const TRegionListFile& list);

// The content of the region-list file at path; empty content when there
// is no file (its WAV file is then not found); nothing when the file is
// there but cannot be read. A file that starts with the UTF-8 mark is read
// as UTF-8, each character the code page lacks becoming "_"; any other in
// the code page.
std::optional<TIniContent> ReadRegionListFile(const AnsiString& path);
