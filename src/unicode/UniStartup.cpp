#include "UniStartup.h"

#include "UniForms.h"
#include "UniSysUtils.h"

#include "classlib/Application.h"

namespace {

int gUnicodeStarts = 0;

} // namespace

void UnicodeStartup()
{
    if (gUnicodeStarts++ > 0)
        return;
    InitUniSysUtils();
    if (Application && !UniApplication) {
        UniApplication = new TUniApplication(nullptr);
        if (PlatformIsNT)
            UniHookMessages();
    }
}

void UnicodeShutdown()
{
    if (gUnicodeStarts == 0 || --gUnicodeStarts > 0)
        return;
    UniUnhookMessages();
    FreeAndNil(UniApplication);
}
