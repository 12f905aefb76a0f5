#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "core/util/result.h"
#include "designer/label_workshop.h"
#include "designer/script_document.h"

namespace tagwright::designer {

struct DesignerSettings {
  int port = 0;  // 0: any free port
  std::string token;
  std::size_t maxBody = 256 * 1024;  // a request body beyond it is refused (413)
  std::chrono::milliseconds renderLimit{5000};
  std::chrono::milliseconds printLimit{120000};  // --confirm waits for the printer
  std::string printTarget;  // what Print sends to ("COM1=tcp://..."); empty: no Print
  int dotsPerMm = 8;
};

// The designer's HTTP server, on 127.0.0.1 only: the page (built into the
// program), and its API: the session, the names, render, save and print.
// Every request must come from the page itself (designer/request_guard.h).
class DesignerServer {
 public:
  // `document` null: no file was named, and nothing can be saved.
  DesignerServer(DesignerSettings settings, LabelWorkshop& workshop, ScriptDocument* document);
  ~DesignerServer();
  DesignerServer(const DesignerServer&) = delete;
  DesignerServer& operator=(const DesignerServer&) = delete;

  // Takes the port on 127.0.0.1; the port taken, or why not.
  Result<int> bind();
  // The address to open: http://127.0.0.1:PORT/?token=TOKEN.
  std::string address() const;
  // Answers requests until stop() is called (from any thread).
  void run();
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tagwright::designer
