// Resource identifiers of appshut, shared by the program and its resource script.
#pragma once

// Icon; also the icon of the program's window class.
#define IDI_APPSHUT         104
