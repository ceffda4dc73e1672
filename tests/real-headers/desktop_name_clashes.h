// Names the desktop's <windows.h> gives to something else, which a program uses for its own.
//
// IDI_WARNING: the desktop's system icon MAKEINTRESOURCE(32515); the battery monitor's icon 106
// bears the name. Redefining it is a warning no option turns off, so the desktop's goes.
#undef IDI_WARNING
