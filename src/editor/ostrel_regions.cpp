// Region commands. So far only what the pane switch calls.
#include "ostrel.h"

// Engine volume and output mode back to the master values come with the
// region commands.
void TFormVusk::ResetRegionAudio() {}
