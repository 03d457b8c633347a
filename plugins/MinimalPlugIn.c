/*
 * The smallest plug-in: it only says that it is one. The host fills in the
 * rest: API version 1.22, "<no descritpion available>" as its name, the
 * default icon, and no effect on the launch.
 */
#include "fenmar/plugin.h"

FENMAR_PLUGIN_EXPORT PIBool FENMAR_PICALL PI_IsPlugIn(void) {
    return 1;
}
