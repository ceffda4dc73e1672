// Windows CE core platform (COREDLL) as the simulated device provides it, and the few desktop
// calls the launcher needs: the headers below, in the order the SDKs' <windows.h> has them.
// Names, signatures, constants and record layouts follow the Windows SDKs; what only Windows CE
// has is in ce/wince_only.h, which a build against the desktop's real headers uses too.
#pragma once

// Constants shared with resource scripts (styles, menu flags, languages, version blocks).
#include <winresrc.h>

#ifndef RC_INVOKED
#include <windef.h>
#include <winbase.h>
#include <wingdi.h>
#include <winuser.h>
#include <winnls.h>
#include <winreg.h>
// Windows CE's <windows.h> brings the wide C runtime's string functions too.
#include <ce_wcs.h>
#endif  // RC_INVOKED

// What Windows CE has and the desktop lacks; also constants for resource scripts.
#include <wince_only.h>
