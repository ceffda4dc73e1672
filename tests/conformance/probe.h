// What every probe shares. Probes are plain Win32 programs, built unchanged for the simulation
// (against sim/include, as images) and for Windows (mingw-w64, run under Wine). Each prints what
// it observes, one line at a time, and the two runs are compared line by line: print only what
// must be equal on both (no handle values, no times).
#pragma once

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>

#ifndef ERROR_NOT_OWNER
#define ERROR_NOT_OWNER 288L
#endif
#ifndef ERROR_WINDOW_OF_OTHER_THREAD
#define ERROR_WINDOW_OF_OTHER_THREAD 1408L
#endif

// The probe's body. `role` is what the runner started this process as ("main", "sender", ...):
// a probe of several processes is started once per role, in the order the test gives.
int ProbeMain(const char* role);

// The probe's module, for its resources.
extern HINSTANCE g_probeInstance;

// One line of output, "role: text", written at once (processes share the output).
void Say(const char* format, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// UTF-8 of a wide string (NULL prints as "(null)"), in one of a few rotating buffers: valid until
// a few more calls. At most `count` characters when count >= 0.
const char* Text(const WCHAR* text, int count = -1);

// A message's name: "WM_TIMER", "WM_APP+3", "0x1234".
const char* MessageName(UINT message);

// A Win32 error code by name where the probes meet it ("ERROR_MORE_DATA"), else its number.
const char* ErrorName(DWORD error);

// Registers a window class of the probe's module with this procedure (nothing else set).
ATOM RegisterProbeClass(LPCWSTR className, WNDPROC proc);

// Waits for another process's top-level window: FindWindowW every 10 ms for up to 10 s. Says so
// and gives NULL when it does not come.
HWND AwaitWindow(LPCWSTR className, LPCWSTR title);

// Removes a probe's registry key and everything under it. The simulated registry goes with the
// device, so only the Windows build has anything to clean.
void RemoveKeyTree(HKEY parent, LPCWSTR path);
