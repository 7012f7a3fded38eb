#include "ToolkitStartup.h"

#include "themes/SkinStartup.h"
#include "unicode/UniStartup.h"

void ToolkitStartup()
{
    UnicodeStartup();
    ThemesStartup();
}

void ToolkitShutdown()
{
    ThemesShutdown();
    UnicodeShutdown();
}
