#include <windows.h>

#include <atomic>

#include "cli/app/serve_stop.h"
#include "platform/win32/unique_resource.h"

namespace tagwright::cli {
namespace {

// The console handler runs on a thread of its own that the system starts;
// it only sets the event the main thread waits on.
std::atomic<HANDLE> stopEvent{nullptr};
std::atomic<bool> userAsked{false};

BOOL WINAPI consoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      userAsked = true;
      if (const HANDLE stop = stopEvent.load()) ::SetEvent(stop);
      return TRUE;
    default: return FALSE;
  }
}

using unique_event = win32::unique_resource<HANDLE, &::CloseHandle>;

}  // namespace

struct ServeStop::State {
  unique_event event{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

ServeStop::ServeStop() : state_(std::make_unique<State>()) {
  userAsked = false;
  stopEvent = state_->event.get();
  ::SetConsoleCtrlHandler(consoleEvent, TRUE);
}

// Console handlers stack: removing this one brings back whatever was there.
ServeStop::~ServeStop() {
  ::SetConsoleCtrlHandler(consoleEvent, FALSE);
  stopEvent = nullptr;
}

bool ServeStop::ready() const { return static_cast<bool>(state_->event); }

void ServeStop::serverEnded() { ::SetEvent(state_->event.get()); }

bool ServeStop::wait() {
  ::WaitForSingleObject(state_->event.get(), INFINITE);
  return userAsked.load();
}

}  // namespace tagwright::cli
