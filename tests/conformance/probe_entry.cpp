// How each build starts a probe: a console program on Windows (its output is what is compared),
// WinMain as the simulation calls it (16-bit command line on Windows CE, 8-bit on the desktop).
// The command line is the probe's role.
#include "probe.h"

void SetProbeRole(const char* role);

static int Run(HINSTANCE instance, const char* role) {
    g_probeInstance = instance;
    SetProbeRole(role);
    return ProbeMain(role);
}

#if defined(_WIN32)
int main(int argc, char** argv) { return Run(GetModuleHandleW(NULL), argc > 1 ? argv[1] : ""); }
#elif defined(UNDER_CE)
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    char role[32];
    int i = 0;
    for (; commandLine[i] && i < 31; ++i) role[i] = (char)commandLine[i];
    role[i] = 0;
    return Run(instance, role);
}
#else
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) { return Run(instance, commandLine); }
#endif
