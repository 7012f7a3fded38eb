// Component descriptions held in memory: what a writer makes of a component,
// and a description read into one.
#pragma once

#include "classlib/Filer.h"

namespace testing_support {

AnsiString WrittenDescription(TComponent* component, TPersistent* ancestor = nullptr);
void ReadDescription(TComponent* component, const AnsiString& bytes);

} // namespace testing_support
