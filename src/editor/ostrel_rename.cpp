// Renaming regions: the rename page's rules, the preview column of the
// region list and the manual input. So far only what the pane switch calls.
#include "ostrel.h"

// The preview column "変更後名" comes with the rename rules.
void TFormVusk::AddRenameColumn() {}
void TFormVusk::RemoveRenameColumn() {}
void TFormVusk::UpdateRenamePreview() {}
