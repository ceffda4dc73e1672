// The records whose sizes the programs give the platform (cbStruct, cbSize, cb) have the device's
// sizes in the simulation's 32-bit build; a wrong one would be refused, or misread, on the device.
#include <shellapi.h>
#include <windows.h>

#include "../real-headers/ce_record_sizes.h"

// Windows CE's NOTIFYICONDATA ends after szTip[64]; the desktop's has grown since.
static_assert(sizeof(NOTIFYICONDATA) == 152, "NOTIFYICONDATA");
static_assert(sizeof(STARTUPINFOA) == 68, "STARTUPINFOA");
