/*
 * An API 1.30 plug-in: deathmatch on a map of the plug-in's own choosing.
 *
 *  - It forbids choosing the map and both kinds of demo in the main window
 *    (PI_QueryAllowList); the map comes from the plug-in instead.
 *  - It adds "+map <its map>" to the command line (PI_GetCommandLineParams).
 *  - "Execute" opens the host's map browser through the info function and, if
 *    the user picks a map, makes it the plug-in's map and switches the profile
 *    to deathmatch with staying weapons and a frag limit (PI_Execute).
 *  - It keeps its map under the settings key the host opens for it
 *    (PI_SaveSettings, PI_RestoreSettings).
 *
 * A 1.30 plug-in receives the host's live LaunchProfile and changes it in
 * place. Texts it reads belong to the host; texts it stores there must stay
 * valid until the entry point returns (the host copies them then).
 */
#include <stdio.h>
#include <string.h>

#include "fenmar/plugin.h"

static PIInfoFn infoFn;
static char mapName[64] = "dm3";
static char params[96];

/* 13 flags, indexed by ALLOW_MAP .. ALLOW_PAUSABLE; 0 forbids. */
static const uint8_t allowList[ALLOW_COUNT] = {0,       /* map: our own */
                                               1, 1, 0, /* demo playback */
                                               0,       /* demo recording */
                                               1, 1, 1, 1, 1, 1, 1, 1};

FENMAR_PLUGIN_EXPORT PIBool FENMAR_PICALL PI_IsPlugIn(void) {
    return 1;
}

FENMAR_PLUGIN_EXPORT int32_t FENMAR_PICALL PI_GetPlugInAPIVersion(void) {
    return PI_API_1_30;
}

FENMAR_PLUGIN_EXPORT const char* FENMAR_PICALL PI_GetDescription(void) {
    return "Deathmatch rules";
}

#if !defined(_WIN32)
/* A red disc on a transparent ground, drawn once per size. */
static uint32_t largePixels[32 * 32];
static uint32_t smallPixels[16 * 16];
static const PIIconImage largeIcon = {32, 32, largePixels};
static const PIIconImage smallIcon = {16, 16, smallPixels};

static void Paint(uint32_t* pixels, int side) {
    const int r = side / 2;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int dx = x - r, dy = y - r;
            pixels[y * side + x] = dx * dx + dy * dy < r * r ? 0xFFC02020u : 0x00000000u;
        }
    }
}

FENMAR_PLUGIN_EXPORT PIIcon FENMAR_PICALL PI_GetIcon(int32_t size) {
    if (largePixels[16 * 32 + 16] == 0) {
        Paint(largePixels, 32);
        Paint(smallPixels, 16);
    }
    return size == PI_ICON_SMALL ? &smallIcon : &largeIcon;
}
#endif

/* Called once on activation: keep the function, it serves until the library is unloaded. */
FENMAR_PLUGIN_EXPORT void FENMAR_PICALL PI_SetInfoFn(PIInfoFn fn) {
    infoFn = fn;
}

FENMAR_PLUGIN_EXPORT const uint8_t* FENMAR_PICALL PI_QueryAllowList(void) {
    return allowList;
}

/* On activation and after each Quick-Set load: demos are not ours to run, switch them off. */
FENMAR_PLUGIN_EXPORT void FENMAR_PICALL PI_ExchangeSettings(void* record) {
    LaunchProfile* profile = (LaunchProfile*)record;
    if (profile != 0) {
        profile->DemoState = 0;
    }
}

FENMAR_PLUGIN_EXPORT const char* FENMAR_PICALL PI_GetCommandLineParams(void* record) {
    (void)record;
    snprintf(params, sizeof params, "+map %s", mapName);
    return params;
}

FENMAR_PLUGIN_EXPORT PIBool FENMAR_PICALL PI_Execute(void* record) {
    LaunchProfile* profile = (LaunchProfile*)record;
    const char* chosen = infoFn != 0 ? infoFn(PI_INFO_BROWSE_MAP) : 0;
    if (profile == 0 || chosen == 0) {
        return 0; /* cancelled: nothing changed */
    }
    /* "e1m1 - Slipgate Complex": the map name ends at the first blank. */
    size_t n = strcspn(chosen, " ");
    if (n >= sizeof mapName) {
        n = sizeof mapName - 1;
    }
    memcpy(mapName, chosen, n);
    mapName[n] = '\0';
    profile->Deathmatch = 2;
    profile->EnableFragLimit = 1;
    profile->FragLimit = 30;
    return 1;
}

FENMAR_PLUGIN_EXPORT void FENMAR_PICALL PI_SaveSettings(HKEY key) {
    RegSetValueExA(key, "Map", 0, REG_SZ, (const BYTE*)mapName, (DWORD)(strlen(mapName) + 1));
}

FENMAR_PLUGIN_EXPORT void FENMAR_PICALL PI_RestoreSettings(HKEY key) {
    char buffer[sizeof mapName];
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, "Map", 0, &type, (LPBYTE)buffer, &size) == ERROR_SUCCESS &&
        type == REG_SZ && size > 0) {
        buffer[size < sizeof buffer ? size : sizeof buffer - 1] = '\0';
        if (buffer[0] != '\0') {
            strcpy(mapName, buffer);
        }
    }
}
