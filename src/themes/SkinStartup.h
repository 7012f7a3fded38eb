// The start and stop of the theme layer, in order: the drawing utilities,
// the theme registry and manager, then the current theme ("Default") with
// its listeners and the popup animation choice. Stopping runs in reverse.
// Starts and stops are counted: only the first start and the last stop act.
//
// The program's entry calls them once the application object exists (the
// manager asks whether the application is active) and before it goes.
#pragma once

void ThemesStartup();
void ThemesShutdown();
