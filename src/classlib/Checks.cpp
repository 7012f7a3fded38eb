#include "Checks.h"

#include "Seams.h"

bool Verified(bool condition, const char* assumption, std::source_location where)
{
    if (condition)
        return true;
#ifndef NDEBUG
    if (Seams().CannotHappen)
        Seams().CannotHappen(assumption, where.file_name(), static_cast<int>(where.line()));
#endif
    return false;
}
