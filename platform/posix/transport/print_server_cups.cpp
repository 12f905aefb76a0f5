#include <cups/cups.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "core/transport/port_layer.h"
#include "core/util/unique_any.h"
#include "platform/posix/transport/print_server.h"

namespace tagwright {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kJobStatePoll{200};

using Http = unique_resource<http_t*, &httpClose>;
using Ipp = unique_resource<ipp_t*, &ippDelete>;

// The destinations of cupsGetDests2(), freed together with their count.
struct Destinations {
  int count = 0;
  cups_dest_t* list = nullptr;
  bool operator==(const Destinations&) const = default;
};
struct destinations_traits {
  using type = Destinations;
  static constexpr Destinations invalid() noexcept { return {}; }
  static void close(Destinations owned) noexcept { cupsFreeDests(owned.count, owned.list); }
};

// libcups waits for an answer no longer than the time-out given to
// httpSetTimeout, and then asks this whether to go on waiting: never.
int giveUpWaiting(http_t*, void*) { return 0; }

// Every value of a keyword or text attribute, joined with ", ".
std::string values(ipp_t* response, const char* name) {
  ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
  std::string joined;
  for (int i = 0; attribute != nullptr && i < ippGetCount(attribute); ++i) {
    const char* value = ippGetString(attribute, i, nullptr);
    if (value == nullptr || std::strcmp(value, "none") == 0) continue;
    if (!joined.empty()) joined += ", ";
    joined += value;
  }
  return joined;
}

int integer(ipp_t* response, const char* name, int otherwise) {
  ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
  return attribute != nullptr ? ippGetInteger(attribute, 0) : otherwise;
}

bool requestFailed() { return cupsLastError() > IPP_STATUS_OK_CONFLICTING; }

std::string resourceUri(const char* kind, const std::string& name) {
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/%s/%s", kind, name.c_str());
  return uri;
}

// The queue's state: printer-state, its reasons and message, whether it
// takes jobs.
Ipp queueAttributes(http_t* http, const std::string& queue) {
  static const char* const kWanted[] = {"printer-state", "printer-state-reasons",
                                        "printer-state-message", "printer-is-accepting-jobs"};
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               resourceUri("printers", queue).c_str());
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                static_cast<int>(std::size(kWanted)), nullptr, kWanted);
  return Ipp(cupsDoRequest(http, request, "/"));
}

Ipp jobAttributes(http_t* http, int job) {
  static const char* const kWanted[] = {"job-state", "job-state-reasons",
                                        "job-printer-state-message"};
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr,
               resourceUri("jobs", std::to_string(job)).c_str());
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                static_cast<int>(std::size(kWanted)), nullptr, kWanted);
  return Ipp(cupsDoRequest(http, request, "/jobs/"));
}

// "the printer says: The printer is not responding.; reasons: offline-report"
std::string printerStory(ipp_t* job, ipp_t* queue) {
  std::string message = values(job, "job-printer-state-message");
  if (message.empty() && queue != nullptr) message = values(queue, "printer-state-message");
  const std::string jobReasons = values(job, "job-state-reasons");
  const std::string printerReasons = queue != nullptr ? values(queue, "printer-state-reasons") : "";
  std::string story;
  if (!message.empty()) story += "; the printer says \"" + message + "\"";
  if (!printerReasons.empty()) story += "; printer: " + printerReasons;
  if (!jobReasons.empty()) story += "; job: " + jobReasons;
  return story;
}

// Create-Job on the queue; the job's id, or 0.
int createJobOn(http_t* http, const std::string& queue, const std::string& title) {
  ipp_t* request = ippNewRequest(IPP_OP_CREATE_JOB);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               resourceUri("printers", queue).c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  if (!title.empty()) {
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.c_str());
  }
  const std::string resource = "/printers/" + queue;
  Ipp response(cupsDoRequest(http, request, resource.c_str()));
  if (!response || requestFailed()) return 0;
  return integer(response.get(), "job-id", 0);
}

class CupsJob final : public PrintServerJob {
 public:
  CupsJob(Http http, std::string portName, CupsQueueAddress address, PrintServerSettings settings)
      : http_(std::move(http)),
        portName_(std::move(portName)),
        address_(std::move(address)),
        settings_(std::move(settings)) {}

  int handle() const override { return httpGetFd(http_.get()); }
  void take(std::string_view bytes) override { bytes_.append(bytes); }

  Delivery submit(const std::string& title) override {
    Delivery result;
    result.offered = bytes_.size();
    const std::string queue = address_.queue;
    const int job = createJob(title);
    if (job == 0) {
      result.failure = "the server refused the job: " + std::string(cupsLastErrorString()) +
                       "; check the queue with lpstat -p " + queue;
      return result;
    }
    const bool sent =
        cupsStartDocument(http_.get(), queue.c_str(), job, title.c_str(), CUPS_FORMAT_RAW, 1) ==
            HTTP_STATUS_CONTINUE &&
        cupsWriteRequestData(http_.get(), bytes_.data(), bytes_.size()) == HTTP_STATUS_CONTINUE;
    const ipp_status_t finished = cupsFinishDocument(http_.get(), queue.c_str());
    if (!sent || finished > IPP_STATUS_OK_CONFLICTING) {
      result.failure = "the server did not take the job: " + std::string(cupsLastErrorString());
      // A job without its document must not wait in the queue.
      cupsCancelJob2(http_.get(), queue.c_str(), job, 0);
      return result;
    }
    say(portName_ + ": sent as job " + std::to_string(job) + " to " + address_.text() +
        (title.empty() ? std::string() : " (\"" + title + "\")"));
    result.delivered = result.offered;
    if (settings_.wait) follow(job, result);
    return result;
  }

 private:
  int createJob(const std::string& title) {
    return createJobOn(http_.get(), address_.queue, title);
  }

  void say(const std::string& line) const {
    if (settings_.notice) settings_.notice(line);
  }

  // Follows the job until it ends. Completed: delivered. Stopped, canceled
  // or aborted: failed, with what the printer reports. A job whose state
  // does not change for the longer of the busy and write time-outs is given
  // up on (it stays in the queue).
  void follow(int job, Delivery& result) {
    const milliseconds patience = std::max(settings_.timeouts.busy, settings_.timeouts.stall);
    const std::string name = "job " + std::to_string(job) + " on " + address_.text();
    std::string lastSeen;
    Clock::time_point changed = Clock::now();
    for (;;) {
      Ipp state = jobAttributes(http_.get(), job);
      if (!state || requestFailed()) {
        result.failure =
            "the server no longer answers for " + name + ": " + std::string(cupsLastErrorString());
        result.countKnown = false;
        return;
      }
      const int jobState = integer(state.get(), "job-state", IPP_JSTATE_PENDING);
      if (jobState == IPP_JSTATE_COMPLETED) {
        say(portName_ + ": " + name + " completed");
        return;
      }
      Ipp queue = queueAttributes(http_.get(), address_.queue);
      const bool queueStopped =
          queue && integer(queue.get(), "printer-state", IPP_PSTATE_IDLE) == IPP_PSTATE_STOPPED;
      if (jobState >= IPP_JSTATE_STOPPED || queueStopped) {
        const char* how = jobState == IPP_JSTATE_CANCELED  ? "was canceled"
                          : jobState == IPP_JSTATE_ABORTED ? "was aborted"
                          : jobState == IPP_JSTATE_STOPPED ? "stopped"
                                                           : "waits on a stopped queue";
        result.failure = name + " " + how + printerStory(state.get(), queue.get());
        result.countKnown = false;
        return;
      }
      const std::string seen = std::to_string(jobState) + values(state.get(), "job-state-reasons") +
                               values(state.get(), "job-printer-state-message");
      if (seen != lastSeen) {
        lastSeen = seen;
        changed = Clock::now();
      } else if (Clock::now() - changed >= patience) {
        result.failure = name + " has not moved on for " + secondsText(patience) +
                         printerStory(state.get(), queue.get()) +
                         "; it stays in the queue: follow it with lpstat -o " + address_.queue;
        result.countKnown = false;
        return;
      }
      std::this_thread::sleep_for(kJobStatePoll);
    }
  }

  Http http_;
  const std::string portName_;
  const CupsQueueAddress address_;
  const PrintServerSettings settings_;
  std::string bytes_;
};

}  // namespace

bool printServersSupported() { return true; }

std::unique_ptr<PrintServerJob> openPrintServerJob(const std::string& portName,
                                                   const CupsQueueAddress& address,
                                                   const PrintServerSettings& settings,
                                                   std::uint32_t& error) {
  auto say = [&](const std::string& line) {
    if (settings.notice) settings.notice(line);
  };
  const std::string host = address.host.empty() ? cupsServer() : address.host;
  const int port = address.port != 0 ? address.port : ippPort();
  const std::string server = address.host.empty()
                                 ? "the default CUPS server (" + host + ")"
                                 : "the CUPS server " + host + ":" + std::to_string(port);
  int cancel = 0;
  Http http(httpConnect2(host.c_str(), port, nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         static_cast<int>(settings.timeouts.connect.count()), &cancel));
  if (!http) {
    error = errno == ETIMEDOUT ? 10060u : 10061u;
    say(portName + ": " + server + " cannot be reached (" + std::strerror(errno) +
        "); check that CUPS runs there, or name the server with cups:QUEUE@HOST[:PORT]");
    return nullptr;
  }
  httpSetTimeout(http.get(), static_cast<double>(settings.timeouts.stall.count()) / 1000.0,
                 giveUpWaiting, nullptr);
  Ipp queue = queueAttributes(http.get(), address.queue);
  if (!queue || requestFailed()) {
    const bool missing = cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
    error = missing ? kErrorFileNotFound : kErrorGenFailure;
    say(portName + ": " +
        (missing ? "there is no queue \"" + address.queue + "\" on " + server + "; lpstat -h " +
                       host + ":" + std::to_string(port) + " -p lists the queues"
                 : server + " did not answer for queue \"" + address.queue +
                       "\": " + cupsLastErrorString()));
    return nullptr;
  }
  ipp_attribute_t* accepting =
      ippFindAttribute(queue.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
  if (accepting != nullptr && ippGetBoolean(accepting, 0) == 0) {
    error = kErrorGenFailure;
    say(portName + ": queue \"" + address.queue + "\" on " + server +
        " does not accept jobs now; cupsaccept " + address.queue + " opens it again");
    return nullptr;
  }
  return std::make_unique<CupsJob>(std::move(http), portName, address, settings);
}

Result<std::vector<PrintServerQueue>> listPrintServerQueues(const std::string& host,
                                                            std::uint16_t port,
                                                            milliseconds timeout) {
  using Queues = Result<std::vector<PrintServerQueue>>;
  const std::string server = host.empty() ? cupsServer() : host;
  const int serverPort = port != 0 ? port : ippPort();
  int cancel = 0;
  Http http(httpConnect2(server.c_str(), serverPort, nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         static_cast<int>(timeout.count()), &cancel));
  if (!http) {
    const std::string where =
        server.front() == '/' ? server : server + ":" + std::to_string(serverPort);
    return Queues::failure("no CUPS server answers at " + where);
  }
  httpSetTimeout(http.get(), static_cast<double>(timeout.count()) / 1000.0, giveUpWaiting, nullptr);
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(http.get(), &dests);
  const unique_any<destinations_traits> owned(Destinations{count, dests});
  if (count == 0 && requestFailed()) {
    return Queues::failure("the CUPS server at " + server +
                           " did not list its queues: " + cupsLastErrorString());
  }
  std::vector<PrintServerQueue> queues;
  for (int i = 0; i < count; ++i) {
    if (dests[i].instance != nullptr) continue;  // an instance is a set of options, not a queue
    PrintServerQueue queue{dests[i].name, {}, true};
    if (const char* info = cupsGetOption("printer-info", dests[i].num_options, dests[i].options)) {
      queue.description = info;
    }
    if (const char* accepting =
            cupsGetOption("printer-is-accepting-jobs", dests[i].num_options, dests[i].options)) {
      queue.accepting = std::strcmp(accepting, "false") != 0;
    }
    queues.push_back(std::move(queue));
  }
  return queues;
}

}  // namespace tagwright
