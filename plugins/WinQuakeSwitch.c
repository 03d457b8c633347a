/*
 * An API 1.22 plug-in: "Execute" switches the launch to WinQuake.
 *
 * A 1.22 plug-in works on a copy of the launch settings (PIRecord122). The
 * executable arrives as its file name in QuakeExe, QuakeBat and DedicatedExe;
 * the two selectors say which of them the host takes back: QuakeBat when
 * EnableWin95TCPIP is nonzero, else DedicatedExe when UseDedicatedExe is
 * nonzero, else QuakeExe. The host then looks the file up in its list of
 * executables (and asks the user to define one if none has that file).
 */
#include "fenmar/plugin.h"

FENMAR_PLUGIN_EXPORT PIBool FENMAR_PICALL PI_IsPlugIn(void) {
    return 1;
}

FENMAR_PLUGIN_EXPORT int32_t FENMAR_PICALL PI_GetPlugInAPIVersion(void) {
    return PI_API_1_22;
}

FENMAR_PLUGIN_EXPORT const char* FENMAR_PICALL PI_GetDescription(void) {
    return "Switch to WinQuake";
}

/* The 1.22 form of PI_GetIcon takes no size: nil asks for the host's icon. */
FENMAR_PLUGIN_EXPORT PIIcon FENMAR_PICALL PI_GetIcon(void) {
    return 0;
}

/* Returns true when it changed the settings, so that the host takes them back. */
FENMAR_PLUGIN_EXPORT PIBool FENMAR_PICALL PI_Execute(void* record) {
    PIRecord122* rec = (PIRecord122*)record;
    if (rec == 0) {
        return 0;
    }
    /* Static text: it only has to outlive this call, the host copies it. */
    rec->QuakeBat = "winquake.exe";
    rec->EnableWin95TCPIP = 1;
    rec->UseDedicatedExe = 0;
    rec->DisableIPX = 1; /* WinQuake's IPX driver is best left alone */
    return 1;
}
