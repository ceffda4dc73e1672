// Resource identifiers of rcbridge, shared by the program and its resource script.
#pragma once

// Menu of the notification icon; the popup is its first submenu.
#define IDR_TRAY_MENU       101

// Icon
#define IDI_TRAY            102

// Menu commands
#define IDM_EXIT            40005
#define IDM_ABOUT           40006

// String table
#define IDS_ABOUT           40010
