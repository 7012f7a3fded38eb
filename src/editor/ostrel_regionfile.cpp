// The region-list file (".rgl"). So far only what the window's lifecycle
// calls.
#include "ostrel.h"

// Loading comes with the region-list file's reader.
void TFormVusk::LoadRegionList(const AnsiString& path) {}
