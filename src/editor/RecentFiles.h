// The recent files: the list of paths the window keeps, newest first, and
// the captions of their File-menu entries.
#pragma once

#include "Settings.h"

#include "classlib/StringList.h"

// Puts path first: every entry equal to it (compared exactly) leaves, and
// when the list is then full (kRecentFileLimit) the oldest goes.
void PutRecentFile(TStringList& list, const AnsiString& path);

// "&" + index + " " + the file name without folder, its own "&" doubled so
// that the menu shows them.
AnsiString RecentMenuCaption(int index, const AnsiString& path);
// The index a caption made by RecentMenuCaption names: the one digit after
// its "&"; -1 when there is none.
int RecentIndexOfCaption(const AnsiString& caption);
