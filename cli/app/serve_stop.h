#pragma once

#include <memory>

namespace tagwright::cli {

// What ends the designer's server: the user (Ctrl+C; SIGTERM on Linux,
// Ctrl+Break or the console closing on Windows), or the server ending by
// itself. Made before the server starts its threads, so that none of them
// is the one the system interrupts; one per process at a time.
class ServeStop {
 public:
  ServeStop();
  ~ServeStop();
  ServeStop(const ServeStop&) = delete;
  ServeStop& operator=(const ServeStop&) = delete;

  // Whether the stop can be waited for (the system gave what it needs).
  bool ready() const;
  // Called by the thread that ran the server, once it has ended.
  void serverEnded();
  // Waits for either; true when the user asked for the stop.
  bool wait();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tagwright::cli
