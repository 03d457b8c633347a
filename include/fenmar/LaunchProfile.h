/*
 * The launch profile record, as the host and plug-ins share it.
 *
 * Binary layout: fields in this order, packed without padding. On 32-bit
 * builds every text field is a 4-byte pointer and the record is 66 bytes;
 * on 64-bit builds the text fields are pointer-sized and the order and
 * packing stay the same (98 bytes).
 *
 * Ownership of the texts
 * ----------------------
 * Every text field points at a NUL-terminated 8-bit string owned by the
 * host. A null pointer means "absent" and reads as the empty text.
 *
 *  - A plug-in may read the texts at any time while it holds the record.
 *  - A plug-in may store a pointer of its own in a text field (for example
 *    to a static string or a buffer it owns). Such a pointer must stay valid
 *    until the call that handed over the record returns: when the call
 *    returns, the host copies every text the record points at into its own
 *    storage and points the field at that copy. The host never frees and
 *    never writes through a pointer the plug-in stored.
 *  - A plug-in must never free or write through a pointer the host stored.
 *    Host pointers stay valid until the host takes the record back.
 */
#ifndef FENMAR_LAUNCHPROFILE_H
#define FENMAR_LAUNCHPROFILE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 1)
typedef struct LaunchProfile {
    const char* LaunchMap;     /* map entry as shown, e.g. "e1m1 - Slipgate Complex" */
    const char* GamePatch;     /* patch directory below the Quake directory */
    uint8_t SkillLevel;        /* 0 easy .. 3 nightmare */
    uint8_t DemoState;         /* 0 none, 1 play back, 2 record */
    const char* DemoName;
    uint8_t NoAutoAim;
    uint8_t EnableServer;
    const char* HostName;
    uint8_t ConnectToServer;
    const char* CurrentServer;
    uint8_t ServerType;        /* 0 listen, 1 dedicated */
    uint8_t MaxPlayers;        /* 1..16 */
    uint8_t EnableFragLimit;
    uint8_t FragLimit;
    uint8_t EnableTimeLimit;
    uint8_t TimeLimit;
    uint8_t Deathmatch;        /* 0 coop, 1 respawning weapons, 2 staying weapons */
    uint8_t Teamplay;          /* 0, 1, 2 */
    uint8_t NoExit;
    uint8_t Pausable;
    const char* QuakePath;
    const char* PatchPath;
    uint8_t CommandLineMode;   /* 0 command line, 1 config file */
    const char* ConfigFile;
    uint16_t SampleRate;
    uint8_t ForceCDMediaCheck;
    uint8_t DisableTCPIP;
    uint8_t DisableIPX;
    uint8_t DisableSerial;
    uint16_t IPXPort;
    uint16_t UDPPort;
    uint8_t AllocateMem;       /* megabytes */
    uint8_t LockMethod;        /* 0..4 */
    uint8_t SafeMode;
    uint8_t DisableVESA;
    uint8_t NoProtocols;
    uint8_t MuteAll;
    uint8_t DisableCDAudio;
    uint8_t NoJoystick;
} LaunchProfile;
#pragma pack(pop)

/* Indices of the allow list: 13 one-byte flags, nonzero = allowed. */
enum {
    ALLOW_MAP = 0,
    ALLOW_PATCH = 1,
    ALLOW_SKILL = 2,
    ALLOW_PLAYBACK = 3,
    ALLOW_RECORD = 4,
    ALLOW_SERVER = 5,
    ALLOW_CONNECT = 6,
    ALLOW_TIMELIMIT = 7,
    ALLOW_FRAGLIMIT = 8,
    ALLOW_DEATHMATCH = 9,
    ALLOW_TEAMPLAY = 10,
    ALLOW_NOEXIT = 11,
    ALLOW_PAUSABLE = 12,
    ALLOW_COUNT = 13
};

#ifdef __cplusplus
} /* extern "C" */
#endif

/* The layout is binding for plug-ins: a 32-bit build fails here if it drifts. */
#if defined(__cplusplus)
#define FENMAR_STATIC_ASSERT static_assert
#else
#define FENMAR_STATIC_ASSERT _Static_assert
#endif
#include <stddef.h>
#if UINTPTR_MAX == 0xFFFFFFFFu
FENMAR_STATIC_ASSERT(sizeof(LaunchProfile) == 66, "LaunchProfile must be 66 bytes");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, GamePatch) == 4, "GamePatch offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, SkillLevel) == 8, "SkillLevel offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, DemoState) == 9, "DemoState offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, DemoName) == 10, "DemoName offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, NoAutoAim) == 14, "NoAutoAim offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, EnableServer) == 15, "EnableServer offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, HostName) == 16, "HostName offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, ConnectToServer) == 20, "ConnectToServer offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, CurrentServer) == 21, "CurrentServer offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, ServerType) == 25, "ServerType offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, MaxPlayers) == 26, "MaxPlayers offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, EnableFragLimit) == 27, "EnableFragLimit offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, FragLimit) == 28, "FragLimit offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, EnableTimeLimit) == 29, "EnableTimeLimit offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, TimeLimit) == 30, "TimeLimit offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, Deathmatch) == 31, "Deathmatch offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, Teamplay) == 32, "Teamplay offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, NoExit) == 33, "NoExit offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, Pausable) == 34, "Pausable offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, QuakePath) == 35, "QuakePath offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, PatchPath) == 39, "PatchPath offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, CommandLineMode) == 43, "CommandLineMode offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, ConfigFile) == 44, "ConfigFile offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, SampleRate) == 48, "SampleRate offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, ForceCDMediaCheck) == 50, "ForceCDMediaCheck offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, DisableTCPIP) == 51, "DisableTCPIP offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, DisableIPX) == 52, "DisableIPX offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, DisableSerial) == 53, "DisableSerial offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, IPXPort) == 54, "IPXPort offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, UDPPort) == 56, "UDPPort offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, AllocateMem) == 58, "AllocateMem offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, LockMethod) == 59, "LockMethod offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, SafeMode) == 60, "SafeMode offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, DisableVESA) == 61, "DisableVESA offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, NoProtocols) == 62, "NoProtocols offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, MuteAll) == 63, "MuteAll offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, DisableCDAudio) == 64, "DisableCDAudio offset");
FENMAR_STATIC_ASSERT(offsetof(LaunchProfile, NoJoystick) == 65, "NoJoystick offset");
#else
FENMAR_STATIC_ASSERT(sizeof(LaunchProfile) == 66 + 8 * (sizeof(void*) - 4),
                     "LaunchProfile: same order and packing with pointer-sized texts");
#endif

#endif /* FENMAR_LAUNCHPROFILE_H */
