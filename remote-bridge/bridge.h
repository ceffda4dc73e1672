// What the bridge's frame and its key actions share.
#ifndef BRIDGE_H
#define BRIDGE_H

#include <windows.h>

extern HINSTANCE g_hInst;

void RegisterRemoteKeys(HWND hWnd);
void UnregisterRemoteKeys(HWND hWnd);
void BridgeOnHotKey(HWND hWnd, UINT vk, UINT modifiers);
void BridgeOnTimer(HWND hWnd, UINT idTimer);

#endif
