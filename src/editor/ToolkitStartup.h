// The start and stop of the component toolkit's layers, which no unit starts
// by itself. The program's entry starts them once the application object
// exists and stops them after its forms are gone. The layers start bottom
// up (wide text, then the themes: visual-style binding, drawing utilities,
// theme registry and manager, the themed classes; the extended controls
// last) and stop in reverse. Each layer's starts and stops are counted.
#pragma once

void ToolkitStartup();
void ToolkitShutdown();
