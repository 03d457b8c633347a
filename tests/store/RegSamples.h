#pragma once
// Sample registry-editor files of the store tests.

#include <string>
#include <string_view>

#include "LineEnds.h"

namespace fenmar::store::test {

using fenmar::test::Crlf;  // an export's line ends

// A layout like the program's, written exactly as the export writes it (apart from the line
// ends): numbered lists, names with "/" and spaces, dwords, escapes, an empty text, a key
// without values and the default value.
inline const std::string kSampleBody = R"([HKEY_CURRENT_USER\Software]

[HKEY_CURRENT_USER\Software\Corvanta]

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar]
"Author"="Ardwell"
"Version"="1.30"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Executables]
"DOS-Quake"="quake.exe"
"Win Quake / GL"="glquake.exe"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\General]
"Executable"="DOS-Quake"
"LaunchMap"="e1m1"
"Current Plug-In"="<none>"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Internal]
"Quake Path"="c:\\games\\quake"
"Delete CONFIG.CFGs"=dword:00000005
"MinBSPSize"=dword:00000014
"DontScanBSPMsgs"="No"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\MRUs]

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\MRUs\Demos]
"1"="demo1"
"2"="my \"best\" demo"
"3"="stale"
"Count"=dword:00000002

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\Network]
"EnableWin95TCP/IP"="Yes"
"IPX/SPX"="No"
"Port Number"=dword:00006d0b
"Empty"=""
@="default value"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets]
"CurrentSelected"=dword:ffffffff

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets\<default>]
"LaunchMap"="start"

[HKEY_CURRENT_USER\Software\Corvanta\Fenmar\QuickSets\My Set / 2]
"Name with / slash"="value with / slash"

)";

inline std::string Regedit4Sample() {
    return Crlf("REGEDIT4\n\n" + kSampleBody);
}

}  // namespace fenmar::store::test
