/*
 * A library that exports no entry point at all. The plug-in list leaves it
 * out (PI_IsPlugIn defaults to false), but a Quick-Set that names it still
 * loads it; it then behaves as an API 1.22 plug-in that changes nothing.
 */
#include "fenmar/plugin.h"

typedef int NotAPlugInHasNoEntryPoints;
