/* A stand-in for a plug-in library: it calls the registry functions of fenmar/store.h and
 * leaves them unresolved, to be found in the program that loads it. */
#include "fenmar/store.h"

#if defined(__GNUC__)
#define EXPORT __attribute__((visibility("default")))
#else
#define EXPORT
#endif

/* Like PI_SaveSettings: writes below the key the host hands over. */
EXPORT LONG FixtureSaveSettings(HKEY key) {
    HKEY sub = NULL;
    DWORD skill = 3;
    LONG rc = RegSetValueExA(key, "Map", 0, REG_SZ, (const BYTE*)"e1m1", 4);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    rc = RegSetValueExA(key, "Skill", 0, REG_DWORD, (const BYTE*)&skill, sizeof skill);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    rc = RegCreateKeyExA(key, "Sub", 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &sub,
                         NULL);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    rc = RegSetValueExA(sub, "Deep", 0, REG_SZ, (const BYTE*)"yes", 3);
    RegCloseKey(sub);
    return rc;
}

/* Like PI_RestoreSettings: reads "Map" back into `buffer`. */
EXPORT LONG FixtureRestoreSettings(HKEY key, char* buffer, DWORD size) {
    DWORD type = 0;
    LONG rc = RegQueryValueExA(key, "Map", NULL, &type, (LPBYTE)buffer, &size);
    if (rc == ERROR_SUCCESS && type != REG_SZ) {
        rc = ERROR_INVALID_PARAMETER;
    }
    return rc;
}
