#include "ScopeExit.h"

#include "Application.h"

void RunCleanupWhileUnwinding(void (*cleanup)(void*), void* context)
{
    try {
        cleanup(context);
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
}
