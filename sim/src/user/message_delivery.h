// How messages reach window procedures: retrieval order, cross-thread sends and blocking waits.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "entries.h"
#include "message_queue.h"

namespace sim {

class Device;
class SimThread;

// Runs a window procedure, recording the delivery in the journal.
LRESULT callWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Delivery how);

// Handles every message other threads have sent to this one (as Win32 does inside its waits).
void handleSentMessages(Device& device, SimThread& thread);

// One retrieval in Win32's order: posted messages, then the quit message, then a due timer.
// Sent messages are handled first and never returned.
std::optional<MSG> takeMessage(Device& device, SimThread& thread, const MessageFilter& filter, bool remove);

// Blocks until a message the filter accepts can be retrieved, and retrieves it.
MSG waitForMessage(Device& device, SimThread& thread, const MessageFilter& filter);

// SendMessageW to a window of another thread: waits for the answer, handling messages sent to
// the waiting thread meanwhile. A receiver that ends first answers 0.
LRESULT sendToOtherThread(Device& device, SimThread& sender, SimThread& receiver, HWND hwnd, UINT message,
                          WPARAM wParam, LPARAM lParam);

// What DispatchMessageW does: a timer's procedure, or the procedure of one of the thread's windows.
LRESULT dispatchMessage(Device& device, SimThread& thread, const MSG& msg);

// The loop of a modal wait (a popup menu, a message box): the thread's other messages are still
// dispatched until `finished` holds. A WM_QUIT ends the wait early and stays posted; then it
// returns false.
bool runModalLoop(Device& device, SimThread& thread, const std::function<bool()>& finished);

// Answers what is still waiting in a thread's queue when it ends.
void abandonSentMessages(SimThread& thread);

}  // namespace sim
