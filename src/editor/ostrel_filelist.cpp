// The main window's side of the file-list window. The window itself comes
// with the other windows; until then its placement is only kept.
#include "ostrel.h"

void TFormVusk::CreateFileListWindow() {}
void TFormVusk::ShowFileListWindow() {}
