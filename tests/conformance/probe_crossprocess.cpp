// Three processes: named mutexes, finding another process's (hidden) window, messages posted and
// sent across processes, and exit codes.
//
// main     owns a named mutex and a window, posts itself two messages, and then waits, without
//          looking at its queue, until the observer says that the sender's message is waiting too.
//          Its GetMessageW must then handle the sent message before handing out the posted ones.
// sender   opens main's mutex, finds main's window every way FindWindowW allows, tries what a
//          process may not do to another's window, and sends main a message.
// observer tells main when the sender is inside its SendMessageW: only then does the sender
//          handle a message sent to it, and by then its own message is in main's queue.
#include "probe.h"

#include <string.h>

static const WCHAR kMutexName[] = TEXT("ProbeConformanceMutex");
static const WCHAR kMainClass[] = TEXT("ProbeCrossMain");
static const WCHAR kMainTitle[] = TEXT("Probe Main Window");
static const WCHAR kSenderClass[] = TEXT("ProbeCrossSender");
static const WCHAR kPendingClass[] = TEXT("ProbeCrossPending");

#define MSG_POSTED_1 (WM_APP + 1)
#define MSG_POSTED_2 (WM_APP + 2)
#define MSG_SENT (WM_APP + 10)
#define MSG_ASK (WM_APP + 11)
#define MSG_DONE (WM_APP + 12)

static char g_order[256];
static BOOL g_inSend;

static void Note(const char* what) {
    if (g_order[0]) strncat(g_order, ", ", sizeof g_order - strlen(g_order) - 1);
    strncat(g_order, what, sizeof g_order - strlen(g_order) - 1);
}

static LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MSG_SENT) {
        Note(wParam == 5 && lParam == 6 ? "sent WM_APP+10 handled" : "sent WM_APP+10 with other parameters");
        return 1234;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

static LRESULT CALLBACK SenderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MSG_ASK) return g_inSend;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

static LRESULT CALLBACK ObserverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(4);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A stand-in for a subclass procedure that must never run.
static LRESULT CALLBACK ForeignProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

static HWND MakeWindow(LPCWSTR className, LPCWSTR title, WNDPROC proc, DWORD exStyle) {
    RegisterProbeClass(className, proc);
    return CreateWindowExW(exStyle, className, title, WS_POPUP, 0, 0, 10, 10, NULL, NULL, g_probeInstance, NULL);
}

static const char* Which(HWND found, HWND expected) {
    if (!found) return "NULL";
    return found == expected ? "main's window" : "another window";
}

static int Main() {
    HANDLE mutex = CreateMutexW(NULL, TRUE, kMutexName);
    DWORD error = GetLastError();
    Say("CreateMutexW, owned: %s, error %lu", mutex ? "a handle" : "NULL", error);

    HWND window = MakeWindow(kMainClass, kMainTitle, MainProc, WS_EX_TOOLWINDOW);
    PostMessageW(window, MSG_POSTED_1, 0, 0);
    PostMessageW(window, MSG_POSTED_2, 0, 0);
    // Sleeping does not handle sent messages: the sender's waits in the queue from now on.
    if (!AwaitWindow(kPendingClass, NULL)) return 1;

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0)) {
        if (msg.message == MSG_POSTED_1) Note("posted WM_APP+1");
        else if (msg.message == MSG_POSTED_2) Note("posted WM_APP+2");
        else if (msg.message == MSG_DONE) Note("posted WM_APP+12 from the sender");
        DispatchMessageW(&msg);
        if (msg.message == MSG_DONE) break;
    }
    Say("order: %s", g_order);

    BOOL released = ReleaseMutex(mutex);
    Say("ReleaseMutex by its owner: %d", released);
    Say("CloseHandle: %d", CloseHandle(mutex));
    DestroyWindow(window);
    Say("PostMessageW(WM_CLOSE) to the observer: %d", PostMessageW(FindWindowW(kPendingClass, NULL), WM_CLOSE, 0, 0));
    return 2;
}

static int Sender() {
    HWND main = AwaitWindow(kMainClass, NULL);
    if (!main) return 1;

    Say("FindWindowW(class, NULL): %s", Which(FindWindowW(kMainClass, NULL), main));
    Say("FindWindowW(NULL, title): %s", Which(FindWindowW(NULL, kMainTitle), main));
    Say("FindWindowW(class, title): %s", Which(FindWindowW(kMainClass, kMainTitle), main));
    Say("FindWindowW(class, other title): %s", Which(FindWindowW(kMainClass, TEXT("Probe Main")), main));
    Say("FindWindowW(other class, NULL): %s", Which(FindWindowW(TEXT("ProbeCrossNone"), NULL), main));
    Say("FindWindowW(class in capitals, NULL): %s", Which(FindWindowW(TEXT("PROBECROSSMAIN"), NULL), main));
    Say("FindWindowW(NULL, title in capitals): %s", Which(FindWindowW(NULL, TEXT("PROBE MAIN WINDOW")), main));
    Say("FindWindowW(class, empty title): %s", Which(FindWindowW(kMainClass, TEXT("")), main));

    HANDLE mutex = CreateMutexW(NULL, TRUE, kMutexName);
    DWORD error = GetLastError();
    Say("CreateMutexW of main's mutex: %s, error %lu", mutex ? "a handle" : "NULL", error);
    SetLastError(0);
    BOOL released = ReleaseMutex(mutex);
    error = GetLastError();
    Say("ReleaseMutex without owning it: %d, error %lu", released, error);
    Say("CloseHandle: %d", CloseHandle(mutex));
    HANDLE other = CreateMutexW(NULL, FALSE, TEXT("probeconformancemutex"));
    error = GetLastError();
    Say("CreateMutexW, the name in other case: %s, error %lu", other ? "a handle" : "NULL", error);
    CloseHandle(other);

    // What only a window's own thread may do.
    SetLastError(0);
    BOOL done = DestroyWindow(main);
    error = GetLastError();
    Say("DestroyWindow(main's window): %d, error %lu", done, error);
    SetLastError(0);
    done = RegisterHotKey(main, 1, MOD_CONTROL | MOD_ALT, 0x7B);
    error = GetLastError();
    Say("RegisterHotKey for main's window: %d, error %lu", done, error);
    if (done) UnregisterHotKey(main, 1);
    SetLastError(0);
    const LONG previous = SetWindowLongW(main, GWL_WNDPROC, (LONG)(LONG_PTR)ForeignProc);
    error = GetLastError();
    Say("SetWindowLongW(main's window, GWL_WNDPROC): %s, error %lu", previous ? "replaced" : "refused", error);
    if (previous) SetWindowLongW(main, GWL_WNDPROC, previous);
    Say("GetWindowLongW(main's window, GWL_EXSTYLE): 0x%08lX", (unsigned long)GetWindowLongW(main, GWL_EXSTYLE));

    HWND own = MakeWindow(kSenderClass, TEXT("Probe Sender"), SenderProc, 0);
    g_inSend = TRUE;
    const LRESULT answer = SendMessageW(main, MSG_SENT, 5, 6);
    g_inSend = FALSE;
    Say("SendMessageW to main's window: %ld", (long)answer);
    Say("PostMessageW to main's window: %d", PostMessageW(main, MSG_DONE, 0, 0));
    DestroyWindow(own);
    return 3;
}

static int Observer() {
    HWND sender = AwaitWindow(kSenderClass, NULL);
    if (!sender) return 1;
    // The sender answers 1 only from inside its SendMessageW.
    LRESULT inside = 0;
    for (int i = 0; i < 1000 && !inside; ++i) {
        inside = SendMessageW(sender, MSG_ASK, 0, 0);
        if (!inside) Sleep(10);
    }
    Say("the sender answered from inside its SendMessageW: %s", inside ? "yes" : "no");
    MakeWindow(kPendingClass, TEXT("Probe Pending"), ObserverProc, 0);

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0)) DispatchMessageW(&msg);
    Say("GetMessageW ended, WM_QUIT %d", (int)msg.wParam);

    // Every handle to main's mutex is closed: the name is free again.
    HANDLE mutex = CreateMutexW(NULL, FALSE, kMutexName);
    DWORD error = GetLastError();
    Say("CreateMutexW once the others closed theirs: %s, error %lu", mutex ? "a handle" : "NULL", error);
    CloseHandle(mutex);
    return (int)msg.wParam;
}

int ProbeMain(const char* role) {
    if (strcmp(role, "main") == 0) return Main();
    if (strcmp(role, "sender") == 0) return Sender();
    if (strcmp(role, "observer") == 0) return Observer();
    Say("no role %s", role);
    return 1;
}
