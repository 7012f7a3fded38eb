// Time text of the editor: positions and lengths as minutes, seconds and
// hundredths ("m:ss.cc"), coarse times as minutes and seconds ("m:ss"). The
// ruler, the info labels, the lists and the secondary windows all show times
// through these two.
#pragma once

#include "classlib/Types.h"

// "m:ss.cc", the seconds rounded to hundredths (halves away from zero), so
// that 59.996 reads "1:00.00". Negative or non-finite seconds read "0:00.00".
AnsiString FormatTime(double seconds);

// "m:ss", the seconds rounded to whole seconds (halves away from zero), so
// that 3599.6 reads "60:00". Negative or non-finite seconds read "0:00".
AnsiString FormatTimeShort(double seconds);
