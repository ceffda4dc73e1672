// Stands in for the Application Manager: writes how it was started to record.txt beside itself,
// as the raw ANSI bytes Windows gave it.
#include <stdio.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)instance, (void)previous, (void)commandLine, (void)show;

    // Room for paths longer than MAX_PATH too. Only ever installed under plain ASCII folders, so a
    // byte-wise search is right here.
    char record[1024];
    DWORD length = GetModuleFileNameA(NULL, record, sizeof record - 16);
    if (length == 0 || length >= sizeof record - 16) return 1;
    char* name = strrchr(record, '\\');
    if (name == NULL) return 1;
    strcpy(name + 1, "record.txt");

    char directory[MAX_PATH];
    DWORD directoryLength = GetCurrentDirectoryA(sizeof directory, directory);
    if (directoryLength == 0 || directoryLength >= sizeof directory) return 1;

    FILE* file = fopen(record, "wb");
    if (file == NULL) return 1;
    fprintf(file, "command line=%s\n", GetCommandLineA());
    fprintf(file, "current directory=%s\n", directory);
    fprintf(file, "setup.ini=%s\n", GetFileAttributesA(".\\setup.ini") != INVALID_FILE_ATTRIBUTES ? "found" : "missing");
    fprintf(file, "code page=%u\n", GetACP());
    return fclose(file) == 0 ? 0 : 1;
}
