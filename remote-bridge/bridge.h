// The bridge's state, owned by its frame, and the remote's keys that act on it.
#ifndef BRIDGE_H
#define BRIDGE_H

#include <windows.h>

struct BridgeState {
    HINSTANCE appInstance;
    HICON trayIcon;
    HMENU popupMenu;  // only while the popup is tracked
    int pressCount;   // presses of the multi-press key in the current group
};

void RegisterRemoteKeys(HWND window);
void UnregisterRemoteKeys(HWND window);
void ActOnRemoteKey(BridgeState* state, HWND window, UINT vk);
void EndPressGroupOnTimer(BridgeState* state, HWND window, UINT timerId);

#endif
