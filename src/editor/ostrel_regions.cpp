// Region commands. So far only what the pane switch and the transport call.
#include "ostrel.h"

// A region's volume and output mode on the engine, and their reset to the
// master values, come with the region commands.
void TFormVusk::ApplyRegionAudio() {}
void TFormVusk::ResetRegionAudio() {}
