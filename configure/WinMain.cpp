#include "configure/BrelvantaConfigureApp.h"
#include "winsupport/Resources.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    SetResourceModule(instance);
    try
    {
        CBrelvantaConfigureApp app;
        return app.Run();
    }
    catch (...)
    {
        return 1; // out of memory at start: nothing was written
    }
}
