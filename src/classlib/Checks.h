// "Cannot happen" checks: where code relies on what its own callers
// guarantee, it says so and still takes a safe path when the guarantee is
// broken.
//
//   if (!Verified(index >= 0, "a mark always has a nearest cut bar"))
//       return;
//
// A broken assumption is reported through the CannotHappen seam (Seams.h)
// in builds without NDEBUG (ours, tests included): the system's default
// writes it to the debugger's output and stops there when a debugger is
// attached; tests fail. A build with NDEBUG only takes the safe path.
#pragma once

#include <source_location>

// True when condition holds; otherwise reports the assumption with the
// caller's place and answers false, so that the caller takes its safe path.
bool Verified(bool condition, const char* assumption,
              std::source_location where = std::source_location::current());
