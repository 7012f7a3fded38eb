// The start and stop of the wide-text layer, called in order by the
// toolkit's start-up and shutdown (each layer's start first starts the
// layers below it). No unit of the layer starts by itself.
//
// UnicodeStartup reads the platform flags and, once the application object
// exists, makes the application's wide companion and installs the message
// hook on the calling (main) thread. Starts and stops are counted: only the
// first start and the last stop act.
#pragma once

void UnicodeStartup();
void UnicodeShutdown();
