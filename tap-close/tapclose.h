// What the tap-to-close frame and its closable-window test share.
#ifndef TAPCLOSE_H
#define TAPCLOSE_H

#include <windows.h>

BOOL IsClosableWindow(HWND window);

#endif
