// rcbridge: the remote control's keys. Volume steps, commands posted to the media player's
// window, and the multi-press key (player command, display on/off, power-off); a beep from
// "beep.wav" beside the program acknowledges all but the volume steps.
#include <windows.h>
#include <mmsystem.h>

#include "bridge.h"

// The remote's keys by virtual-key code; each is also its hot-key identifier.
#define VK_REMOTE_VOLUME_DOWN 0x88
#define VK_REMOTE_VOLUME_UP 0x89
#define VK_REMOTE_PLAYER_A 0x8A
#define VK_REMOTE_PLAYER_B 0x8B
#define VK_REMOTE_MULTI 0x8C
#define VK_REMOTE_PLAYER_C 0x8D
#define VK_REMOTE_PLAYER_D 0x8E

#define PLAYER_COMMAND_A 40038
#define PLAYER_COMMAND_B 40037
#define PLAYER_COMMAND_MULTI 40036
#define PLAYER_COMMAND_C 40027  // keys C and D send the same

#define WAVE_DEVICE 0
#define VOLUME_STEP 1092  // 60 steps span the range
#define VOLUME_MAX 0xFFFF

#define MULTIPRESS_TIMER_ID VK_REMOTE_MULTI
#define MULTIPRESS_PERIOD_MS 450
#define MULTIPRESS_POWER_OFF 3  // presses
#define BEEP_GAP_MS 75

#define CLASS_NAME_SIZE 32
#define POWER_KEY_EXTRA_INFO 1
#define DPMS_VERSION 1

static const WCHAR kPlayerMidiClass[] = TEXT("TUNELARKMIDI");
static const WCHAR kPlayerClass[] = TEXT("TUNELARK");
static const WCHAR kBeepFile[] = TEXT("beep.wav");
#define BEEP_FILE_LENGTH (sizeof(kBeepFile) / sizeof(kBeepFile[0]) - 1)

// The order in which the keys are taken and given back.
static const UINT kRemoteKeys[] = {VK_REMOTE_PLAYER_D, VK_REMOTE_PLAYER_C, VK_REMOTE_PLAYER_B, VK_REMOTE_PLAYER_A,
                                   VK_REMOTE_MULTI,    VK_REMOTE_VOLUME_UP, VK_REMOTE_VOLUME_DOWN};
#define REMOTE_KEY_COUNT (sizeof(kRemoteKeys) / sizeof(kRemoteKeys[0]))

void RegisterRemoteKeys(HWND window) {
    // A key that another program holds never reaches us; the others still work.
    for (UINT i = 0; i < REMOTE_KEY_COUNT; i++) RegisterHotKey(window, kRemoteKeys[i], 0, kRemoteKeys[i]);
}

void UnregisterRemoteKeys(HWND window) {
    for (UINT i = 0; i < REMOTE_KEY_COUNT; i++) UnregisterHotKey(window, kRemoteKeys[i]);
}

// Builds the path of the beep beside the program's own file. FALSE when there is none that fits.
static BOOL GetBeepPath(HINSTANCE instance, WCHAR* path) {
    DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
    // A full buffer may hold a cut path without its terminator.
    if (length == 0 || length >= MAX_PATH) return FALSE;
    WCHAR* slash = wcsrchr(path, TEXT('\\'));
    if (slash == NULL) return FALSE;
    DWORD folderLength = (DWORD)(slash + 1 - path);
    if (folderLength + BEEP_FILE_LENGTH >= MAX_PATH) return FALSE;
    slash[1] = 0;
    wcscat(path, kBeepFile);
    return TRUE;
}

// Looked up at every beep, so that a beep.wav added or removed meanwhile counts at once.
static void PlayBeep(HINSTANCE instance, BOOL wait) {
    WCHAR path[MAX_PATH];
    if (!GetBeepPath(instance, path)) return;
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return;
    PlaySoundW(path, NULL, wait ? SND_FILENAME : SND_FILENAME | SND_ASYNC);
}

static WORD StepChannel(WORD level, BOOL up) {
    if (up) return level > VOLUME_MAX - VOLUME_STEP ? VOLUME_MAX : level + VOLUME_STEP;
    return level < VOLUME_STEP ? 0 : level - VOLUME_STEP;
}

static void StepVolume(BOOL up) {
    DWORD volume = 0;
    // Stepping from a value that was never read would set an arbitrary volume.
    if (waveOutGetVolume((HWAVEOUT)WAVE_DEVICE, &volume) != MMSYSERR_NOERROR) return;
    WORD left = StepChannel(LOWORD(volume), up);
    WORD right = StepChannel(HIWORD(volume), up);
    waveOutSetVolume((HWAVEOUT)WAVE_DEVICE, (DWORD)MAKELONG(left, right));
}

// The first top-level window in z-order of either player class.
static HWND FindPlayerWindow(void) {
    WCHAR className[CLASS_NAME_SIZE];
    for (HWND window = GetWindow(NULL, GW_CHILD); window != NULL; window = GetWindow(window, GW_HWNDNEXT)) {
        // A window that went away under us leaves the buffer unfilled.
        if (GetClassNameW(window, className, CLASS_NAME_SIZE) == 0) continue;
        if (wcscmp(className, kPlayerMidiClass) == 0 || wcscmp(className, kPlayerClass) == 0) return window;
    }
    return NULL;
}

static void PostPlayerCommand(HINSTANCE instance, UINT vk) {
    HWND player = FindPlayerWindow();
    if (player == NULL) return;

    WPARAM command;
    switch (vk) {
    case VK_REMOTE_PLAYER_A:
        command = PLAYER_COMMAND_A;
        break;
    case VK_REMOTE_PLAYER_B:
        command = PLAYER_COMMAND_B;
        break;
    case VK_REMOTE_MULTI:
        command = PLAYER_COMMAND_MULTI;
        break;
    default:  // VK_REMOTE_PLAYER_C, VK_REMOTE_PLAYER_D
        command = PLAYER_COMMAND_C;
        break;
    }
    PostMessageW(player, WM_COMMAND, command, 0);
    PlayBeep(instance, FALSE);
}

static void ToggleDisplayPower(void) {
    HDC screen = GetDC(NULL);
    DWORD escape = SETPOWERMANAGEMENT;
    // Only 0 says the driver lacks the escape; a query that fails (below 0) tells nothing, and the
    // escapes are tried: a driver without them refuses them harmlessly.
    if (ExtEscape(screen, QUERYESCSUPPORT, sizeof(escape), (LPCSTR)&escape, 0, NULL) != 0) {
        // If the query fails, the display counts as on.
        VIDEO_POWER_MANAGEMENT power;
        power.Length = sizeof(power);
        power.DPMSVersion = DPMS_VERSION;
        power.PowerState = VideoPowerOn;
        ExtEscape(screen, GETPOWERMANAGEMENT, 0, NULL, sizeof(power), (LPSTR)&power);

        power.PowerState = power.PowerState == VideoPowerOn ? VideoPowerOff : VideoPowerOn;
        // The driver may report a longer record than ours; it must not read past it.
        int inputSize = power.Length < sizeof(power) ? (int)power.Length : (int)sizeof(power);
        ExtEscape(screen, SETPOWERMANAGEMENT, inputSize, (LPCSTR)&power, 0, NULL);
    }
    ReleaseDC(NULL, screen);
}

static void PowerOff(HINSTANCE instance) {
    PlayBeep(instance, TRUE);
    Sleep(BEEP_GAP_MS);
    PlayBeep(instance, TRUE);
    Sleep(BEEP_GAP_MS);
    PlayBeep(instance, TRUE);
    keybd_event(VK_OFF, 0, 0, POWER_KEY_EXTRA_INFO);
    keybd_event(VK_OFF, 0, KEYEVENTF_KEYUP, POWER_KEY_EXTRA_INFO);
}

// A group of one press sends a player command, a group of two toggles the display.
static void EndPressGroup(BridgeState* state) {
    if (state->pressCount == 1) {
        PostPlayerCommand(state->appInstance, VK_REMOTE_MULTI);
    } else if (state->pressCount == 2) {
        PlayBeep(state->appInstance, TRUE);
        Sleep(BEEP_GAP_MS);
        PlayBeep(state->appInstance, FALSE);
        ToggleDisplayPower();
    }
    state->pressCount = 0;
}

// One or two presses act when the group ends (EndPressGroupOnTimer); the third acts at once.
static void TakeMultiPress(BridgeState* state, HWND window) {
    state->pressCount++;
    KillTimer(window, MULTIPRESS_TIMER_ID);
    if (state->pressCount < MULTIPRESS_POWER_OFF) {
        // Without its timer the group would stay open, and the next press, however much later,
        // would join it (two presses would power the device off): it ends now instead.
        if (SetTimer(window, MULTIPRESS_TIMER_ID, MULTIPRESS_PERIOD_MS, NULL) == 0) EndPressGroup(state);
        return;
    }
    state->pressCount = 0;
    PowerOff(state->appInstance);
}

void ActOnRemoteKey(BridgeState* state, HWND window, UINT vk) {
    switch (vk) {
    case VK_REMOTE_VOLUME_DOWN:
        StepVolume(FALSE);
        break;
    case VK_REMOTE_VOLUME_UP:
        StepVolume(TRUE);
        break;
    case VK_REMOTE_PLAYER_A:
    case VK_REMOTE_PLAYER_B:
    case VK_REMOTE_PLAYER_C:
    case VK_REMOTE_PLAYER_D:
        PostPlayerCommand(state->appInstance, vk);
        break;
    case VK_REMOTE_MULTI:
        TakeMultiPress(state, window);
        break;
    }
}

void EndPressGroupOnTimer(BridgeState* state, HWND window, UINT timerId) {
    if (timerId != MULTIPRESS_TIMER_ID) return;
    // One-shot: the group ends here.
    KillTimer(window, MULTIPRESS_TIMER_ID);
    EndPressGroup(state);
}
