// A cleanup written once, next to what it undoes.
//
//   TScopeExit  runs a callable when its scope ends, however the scope is
//               left, unless dismissed first
//
//   FBusy = true;
//   TScopeExit idle([this] { FBusy = false; });
//
// Scope exits end in the reverse order of their making, as other locals do.
// A cleanup that fails on the normal path raises like any other statement.
// One that fails while an exception already leaves the scope cannot raise a
// second exception (a destructor unwinding ends the process if it does): it
// is reported through HandleCallbackException, and the first goes on.
#pragma once

#include <exception>
#include <utility>

// Runs cleanup(context) and reports what it raises instead of raising it.
void RunCleanupWhileUnwinding(void (*cleanup)(void*), void* context);

template <class TCleanup> class TScopeExit
{
public:
    explicit TScopeExit(TCleanup cleanup)
        : FCleanup(std::move(cleanup)), FUncaughtBefore(std::uncaught_exceptions())
    {
    }
    ~TScopeExit() noexcept(false)
    {
        if (!FArmed)
            return;
        FArmed = false;
        if (std::uncaught_exceptions() > FUncaughtBefore)
            RunCleanupWhileUnwinding([](void* self) { static_cast<TScopeExit*>(self)->FCleanup(); },
                                     this);
        else
            FCleanup();
    }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

    // The cleanup will not run.
    void Dismiss() { FArmed = false; }

private:
    TCleanup FCleanup;
    // Exceptions already in flight when the scope began (it may begin inside
    // a handler or a destructor that unwinds).
    int FUncaughtBefore;
    bool FArmed = true; // false once run or dismissed
};
