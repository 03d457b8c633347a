/*
 * Fenmar plug-in interface: everything a plug-in library needs, in C.
 *
 * A plug-in is a shared library in the "PlugIns" directory beside the program
 * (*.dll on Windows, *.so elsewhere). It exports any of the eleven entry
 * points below by their exact names; the host binds a built-in default for
 * every entry point that is missing. See docs/plugins.md for a guide and the
 * samples in plugins/.
 *
 * Calling convention: every entry point and the host's info function take at
 * most one argument. On 32-bit x86 the argument travels in EAX (AX for the
 * 16-bit request of the info function), the result comes back in EAX (AL for
 * a Boolean), nothing is passed on the stack: GCC's and clang's regparm(1).
 * Elsewhere the platform's C convention applies. Declare every entry point
 * with FENMAR_PICALL and export it with FENMAR_PLUGIN_EXPORT.
 *
 * Texts are NUL-terminated 8-bit strings in the system's local encoding.
 */
#ifndef FENMAR_PLUGIN_H
#define FENMAR_PLUGIN_H

#include <stddef.h>
#include <stdint.h>

#include "fenmar/LaunchProfile.h"

/* On Windows the registry itself; elsewhere the host's settings store behind the same
 * registry functions. */
#include "fenmar/store.h"

#if defined(__i386__) || defined(_M_IX86)
#if defined(__GNUC__) || defined(__clang__)
#define FENMAR_PICALL __attribute__((regparm(1)))
#else
#error "32-bit x86 plug-ins need a compiler with regparm(1) (GCC or clang)"
#endif
#else
#define FENMAR_PICALL
#endif

#if defined(_WIN32)
#define FENMAR_PLUGIN_EXPORT __declspec(dllexport)
#elif defined(__GNUC__) || defined(__clang__)
#define FENMAR_PLUGIN_EXPORT __attribute__((visibility("default")))
#else
#define FENMAR_PLUGIN_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A Boolean result: 0 is false, any other value true. */
typedef uint8_t PIBool;

/* API versions a plug-in reports from PI_GetPlugInAPIVersion. */
#define PI_API_NONE (-1)      /* the host's value for "no library loaded" */
#define PI_API_1_22 0x0116    /* receives a copy in the PIRecord122 layout */
#define PI_API_1_30 0x011E    /* receives the host's live LaunchProfile */

/* Sizes asked of the 1.30 form of PI_GetIcon. */
#define PI_ICON_SMALL 1 /* 16 x 16 */
#define PI_ICON_LARGE 2 /* 32 x 32 */

/* Requests of the info function. Texts it returns belong to the host and stay
 * valid at least until the next call of the info function. */
#define PI_INFO_BROWSE_MAP 0        /* map browser: the chosen map entry, nil if cancelled */
#define PI_INFO_BROWSE_MAP_TOO 1    /* the same */
#define PI_INFO_BROWSE_PATCH 2      /* patch folder relative to QuakePath, "<none>", "" if cancelled */
#define PI_INFO_BROWSE_DEMO_ID1 3   /* demo below id1, without extension; also becomes DemoName */
#define PI_INFO_BROWSE_EXE 4        /* executable file name; 5 and 6 do the same */
#define PI_INFO_BROWSE_EXE_TOO 5
#define PI_INFO_BROWSE_EXE_TOO2 6
#define PI_INFO_PATCH_PATH 7        /* PatchPath relative to QuakePath, no dialog */
#define PI_INFO_BROWSE_DEMO_PATCH 8 /* demo below the game patch; also becomes DemoName */

/* Icons. On Windows a plug-in returns an HICON. Elsewhere it returns a pointer
 * to an image it owns and keeps valid while the library is loaded; the host
 * copies the pixels at once. A nil icon means the host's default icon. */
#if defined(_WIN32)
typedef HICON PIIcon;
#else
typedef struct PIIconImage {
    int32_t Width;          /* 1 .. 256 */
    int32_t Height;         /* 1 .. 256 */
    const uint32_t* Pixels; /* Width * Height pixels, 0xAARRGGBB, rows from the top */
} PIIconImage;
typedef const PIIconImage* PIIcon;
#endif

/* Settings keys: on Windows an open registry key; elsewhere an open key of the host's
 * settings store, used with the same Reg... functions (fenmar/store.h). */

/*
 * The record of API version 1.22: a copy the host fills for one call and takes
 * back afterwards. Natural alignment; on 32-bit x86 it is 84 bytes with the
 * offsets given. The executable comes as its file name in QuakeExe, QuakeBat
 * and DedicatedExe; to change it, set one of them and choose it with the two
 * selectors: QuakeBat when EnableWin95TCPIP is nonzero, else DedicatedExe when
 * UseDedicatedExe is nonzero, else QuakeExe. Reserved bytes are ignored.
 */
typedef struct PIRecord122 {
    const char* LaunchMap;      /* 0x00 */
    const char* GamePatch;      /* 0x04 */
    uint8_t SkillLevel;         /* 0x08 */
    uint8_t DemoState;          /* 0x09 */
    uint8_t Reserved0A[2];      /* 0x0A */
    const char* DemoName;       /* 0x0C */
    uint8_t EnableServer;       /* 0x10 */
    uint8_t ConnectToServer;    /* 0x11 */
    uint8_t Reserved12[2];      /* 0x12 */
    const char* CurrentServer;  /* 0x14 */
    uint8_t ServerType;         /* 0x18 */
    uint8_t UseDedicatedExe;    /* 0x19 selector, the host writes 0 */
    uint8_t MaxPlayers;         /* 0x1A */
    uint8_t EnableFragLimit;    /* 0x1B */
    uint8_t FragLimit;          /* 0x1C */
    uint8_t EnableTimeLimit;    /* 0x1D */
    uint8_t TimeLimit;          /* 0x1E */
    uint8_t Deathmatch;         /* 0x1F */
    uint8_t Teamplay;           /* 0x20 */
    uint8_t NoExit;             /* 0x21 */
    uint8_t Pausable;           /* 0x22 */
    uint8_t Reserved23;         /* 0x23 */
    const char* QuakePath;      /* 0x24 */
    const char* PatchPath;      /* 0x28 */
    const char* QuakeExe;       /* 0x2C */
    const char* QuakeBat;       /* 0x30 */
    const char* DedicatedExe;   /* 0x34 */
    uint8_t CommandLineMode;    /* 0x38 */
    uint8_t Reserved39[3];      /* 0x39 */
    const char* ConfigFile;     /* 0x3C */
    uint16_t SampleRate;        /* 0x40 */
    uint8_t ForceCDMediaCheck;  /* 0x42 */
    uint8_t DisableTCPIP;       /* 0x43 */
    uint8_t DisableIPX;         /* 0x44 */
    uint8_t DisableSerial;      /* 0x45 */
    uint16_t IPXPort;           /* 0x46 */
    uint16_t UDPPort;           /* 0x48 */
    uint8_t EnableWin95TCPIP;   /* 0x4A selector, the host writes 0 */
    uint8_t AllocateMem;        /* 0x4B */
    uint8_t LockMethod;         /* 0x4C */
    uint8_t SafeMode;           /* 0x4D */
    uint8_t DisableVESA;        /* 0x4E */
    uint8_t NoProtocols;        /* 0x4F */
    uint8_t MuteAll;            /* 0x50 */
    uint8_t DisableCDAudio;     /* 0x51 */
    uint8_t Reserved52[2];      /* 0x52 */
} PIRecord122;

/* The host's info function, handed over by PI_SetInfoFn. */
typedef const char*(FENMAR_PICALL* PIInfoFn)(uint16_t request);

/* The entry points. `record` is a LaunchProfile* for API 1.30, a PIRecord122*
 * for API 1.22, and may be nil. Texts a plug-in stores in a record must stay
 * valid until the entry point returns; the host copies them then. */
typedef PIBool(FENMAR_PICALL* PI_IsPlugInFn)(void);
typedef int32_t(FENMAR_PICALL* PI_GetPlugInAPIVersionFn)(void);
typedef const char*(FENMAR_PICALL* PI_GetDescriptionFn)(void);
typedef PIIcon(FENMAR_PICALL* PI_GetIconFn)(int32_t size); /* API 1.30 and later */
typedef PIIcon(FENMAR_PICALL* PI_GetIcon122Fn)(void);      /* API 1.22: one icon for both sizes */
typedef void(FENMAR_PICALL* PI_SetInfoFnFn)(PIInfoFn infoFn);
typedef void(FENMAR_PICALL* PI_ExchangeSettingsFn)(void* record);
typedef PIBool(FENMAR_PICALL* PI_ExecuteFn)(void* record); /* true: the settings changed */
typedef const uint8_t*(FENMAR_PICALL* PI_QueryAllowListFn)(void); /* 13 flags or nil */
typedef const char*(FENMAR_PICALL* PI_GetCommandLineParamsFn)(void* record);
typedef void(FENMAR_PICALL* PI_SaveSettingsFn)(HKEY key);
typedef void(FENMAR_PICALL* PI_RestoreSettingsFn)(HKEY key);

#ifdef __cplusplus
} /* extern "C" */
#endif

#if UINTPTR_MAX == 0xFFFFFFFFu
FENMAR_STATIC_ASSERT(sizeof(PIRecord122) == 84, "PIRecord122 must be 84 bytes");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, DemoName) == 0x0C, "DemoName offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, EnableServer) == 0x10, "EnableServer offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, CurrentServer) == 0x14, "CurrentServer offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, UseDedicatedExe) == 0x19, "UseDedicatedExe offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, MaxPlayers) == 0x1A, "MaxPlayers offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, Pausable) == 0x22, "Pausable offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, QuakePath) == 0x24, "QuakePath offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, QuakeExe) == 0x2C, "QuakeExe offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, QuakeBat) == 0x30, "QuakeBat offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, DedicatedExe) == 0x34, "DedicatedExe offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, CommandLineMode) == 0x38, "CommandLineMode offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, ConfigFile) == 0x3C, "ConfigFile offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, SampleRate) == 0x40, "SampleRate offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, ForceCDMediaCheck) == 0x42, "ForceCDMediaCheck offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, IPXPort) == 0x46, "IPXPort offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, UDPPort) == 0x48, "UDPPort offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, EnableWin95TCPIP) == 0x4A, "EnableWin95TCPIP offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, AllocateMem) == 0x4B, "AllocateMem offset");
FENMAR_STATIC_ASSERT(offsetof(PIRecord122, DisableCDAudio) == 0x51, "DisableCDAudio offset");
#endif

#endif /* FENMAR_PLUGIN_H */
