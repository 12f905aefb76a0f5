#include "designer/designer_server.h"

#include <httplib.h>

#include <atomic>
#include <mutex>
#include <nlohmann/json.hpp>

#include "designer/page_files.h"
#include "designer/render_gate.h"
#include "designer/replies.h"
#include "designer/request_guard.h"

namespace tagwright::designer {
namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kJson = "application/json; charset=utf-8";
constexpr std::string_view kTokenMark = "__TOKEN__";

std::optional<std::string_view> headerOf(const httplib::Request& request, const char* name) {
  if (!request.has_header(name)) return std::nullopt;
  // The value lives in the request's header map for the whole request.
  auto found = request.headers.find(name);
  return std::string_view(found->second);
}

void replyJson(httplib::Response& response, int status, const std::string& body) {
  response.status = status;
  response.set_content(body, kJson);
}

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

struct DesignerServer::Impl {
  Impl(DesignerSettings s, LabelWorkshop& w, ScriptDocument* d)
      : settings(std::move(s)), workshop(w), document(d) {
    routes();
  }

  void routes();
  httplib::Server::HandlerResponse guard(const httplib::Request& request,
                                         httplib::Response& response);
  void page(const httplib::Request& request, httplib::Response& response);
  void session(httplib::Response& response);
  void render(const httplib::Request& request, httplib::Response& response);
  void save(const httplib::Request& request, httplib::Response& response);
  void print(const httplib::Request& request, httplib::Response& response);

  DesignerSettings settings;
  LabelWorkshop& workshop;
  ScriptDocument* document;
  std::mutex documentLock;  // saves come on the server's threads
  RenderGate gate;
  httplib::Server server;
  int port = 0;
};

httplib::Server::HandlerResponse DesignerServer::Impl::guard(const httplib::Request& request,
                                                             httplib::Response& response) {
  RequestOrigin origin;
  origin.host = headerOf(request, "Host");
  origin.origin = headerOf(request, "Origin");
  origin.fetchSite = headerOf(request, "Sec-Fetch-Site");
  origin.token = headerOf(request, "X-Tagwright-Token");
  // The page's own files are fetched by the browser, which can only carry
  // the token in their address; the API takes it in its header alone, which
  // no other page can add to a request without the server's consent.
  const bool api = request.path.rfind("/api/", 0) == 0;
  std::string queryToken;
  if (!origin.token && !api && request.has_param("token")) {
    queryToken = request.get_param_value("token");
    origin.token = queryToken;
  }
  if (const std::optional<std::string> refused = refusalOf(origin, port, settings.token)) {
    replyJson(response, 403, errorJson(*refused));
    return httplib::Server::HandlerResponse::Handled;
  }
  return httplib::Server::HandlerResponse::Unhandled;
}

void DesignerServer::Impl::routes() {
  server.set_payload_max_length(settings.maxBody);
  // The page asks once a pause in typing: one connection for all of it.
  server.set_keep_alive_max_count(1000);
  server.set_keep_alive_timeout(30);
  // The page's pictures are data: addresses; everything else comes from here.
  server.set_default_headers({
      {"Content-Security-Policy",
       "default-src 'self'; img-src 'self' data:; style-src 'self'; script-src 'self'; "
       "connect-src 'self'; frame-ancestors 'none'; form-action 'none'; base-uri 'none'"},
      {"X-Content-Type-Options", "nosniff"},
      {"Referrer-Policy", "no-referrer"},
      {"Cache-Control", "no-store"},
  });
  server.set_pre_routing_handler(
      [this](const httplib::Request& q, httplib::Response& r) { return guard(q, r); });
  server.Get("/api/session", [this](const httplib::Request&, httplib::Response& r) { session(r); });
  server.Get("/api/names",
             [](const httplib::Request&, httplib::Response& r) { replyJson(r, 200, namesJson()); });
  server.Post("/api/render",
              [this](const httplib::Request& q, httplib::Response& r) { render(q, r); });
  server.Post("/api/save", [this](const httplib::Request& q, httplib::Response& r) { save(q, r); });
  server.Post("/api/print",
              [this](const httplib::Request& q, httplib::Response& r) { print(q, r); });
  server.Get(".*", [this](const httplib::Request& q, httplib::Response& r) { page(q, r); });
  server.set_error_handler([](const httplib::Request&, httplib::Response& r) {
    if (r.body.empty()) {
      const char* what = r.status == 413   ? "the request is larger than the designer takes"
                         : r.status == 404 ? "no such page"
                                           : "refused";
      r.set_content(errorJson(what), kJson);
    }
  });
}

void DesignerServer::Impl::page(const httplib::Request& request, httplib::Response& response) {
  const std::string path = request.path == "/" ? "/index.html" : request.path;
  const PageFile* file = pageFile(path);
  if (!file) {
    replyJson(response, 404, errorJson("no such page"));
    return;
  }
  std::string content(file->content);
  // The page's links carry the token on to its style sheet and script.
  for (std::size_t at = content.find(kTokenMark); at != std::string::npos;
       at = content.find(kTokenMark, at)) {
    content.replace(at, kTokenMark.size(), settings.token);
    at += settings.token.size();
  }
  response.set_content(content, std::string(file->contentType).c_str());
}

void DesignerServer::Impl::session(httplib::Response& response) {
  nlohmann::json reply = {{"dotsPerMm", settings.dotsPerMm},
                          {"canSave", document != nullptr},
                          {"canPrint", !settings.printTarget.empty()},
                          {"printTarget", settings.printTarget},
                          {"maxBody", settings.maxBody}};
  std::lock_guard<std::mutex> guard(documentLock);
  reply["file"] = document ? nlohmann::json(document->path()) : nlohmann::json(nullptr);
  reply["script"] = document ? document->text() : std::string();
  replyJson(response, 200, reply.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void DesignerServer::Impl::render(const httplib::Request& request, httplib::Response& response) {
  const Clock::time_point start = Clock::now();
  auto result = std::make_shared<Rendering>();
  LabelWorkshop& w = workshop;
  const RenderGate::Outcome outcome = gate.run(
      [result, &w, script = request.body] { *result = w.render(script); }, settings.renderLimit);
  if (outcome != RenderGate::Outcome::Done) {
    replyJson(response, 503,
              errorJson(outcome == RenderGate::Outcome::Busy
                            ? "the designer is still drawing a script that took too long"
                            : "the script took longer than " +
                                  std::to_string(settings.renderLimit.count()) +
                                  " ms to draw: the picture is not updated"));
    return;
  }
  const std::string body = renderingJson(*result);
  response.set_header("Server-Timing", serverTiming(result->times, millisecondsSince(start)));
  replyJson(response, result->tooLarge ? 422 : 200, body);
}

void DesignerServer::Impl::save(const httplib::Request& request, httplib::Response& response) {
  if (!document) {
    replyJson(response, 404, errorJson("no file was named on the command line: download instead"));
    return;
  }
  std::lock_guard<std::mutex> guard(documentLock);
  if (const Status saved = document->save(request.body); !saved) {
    replyJson(response, 409, errorJson(saved.error()));
    return;
  }
  replyJson(response, 200, nlohmann::json({{"saved", document->path()}}).dump());
}

void DesignerServer::Impl::print(const httplib::Request& request, httplib::Response& response) {
  if (!workshop.canPrint()) {
    replyJson(response, 404, errorJson("no device was given on the command line"));
    return;
  }
  auto result = std::make_shared<PrintOutcome>();
  LabelWorkshop& w = workshop;
  const RenderGate::Outcome outcome = gate.run(
      [result, &w, script = request.body] { *result = w.print(script); }, settings.printLimit);
  if (outcome != RenderGate::Outcome::Done) {
    replyJson(response, 503, errorJson("the printer has not answered yet"));
    return;
  }
  replyJson(response, result->sent ? 200 : 422,
            nlohmann::json({{"sent", result->sent}, {"answer", result->answer}})
                .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

DesignerServer::DesignerServer(DesignerSettings settings, LabelWorkshop& workshop,
                               ScriptDocument* document)
    : impl_(std::make_unique<Impl>(std::move(settings), workshop, document)) {}

DesignerServer::~DesignerServer() = default;

Result<int> DesignerServer::bind() {
  int port = impl_->settings.port;
  if (port == 0) {
    port = impl_->server.bind_to_any_port("127.0.0.1");
    if (port <= 0) return Result<int>::failure("cannot listen on 127.0.0.1");
  } else if (!impl_->server.bind_to_port("127.0.0.1", port)) {
    return Result<int>::failure("cannot listen on 127.0.0.1:" + std::to_string(port) +
                                " (is the port taken?)");
  }
  impl_->port = port;
  return port;
}

std::string DesignerServer::address() const {
  return "http://127.0.0.1:" + std::to_string(impl_->port) + "/?token=" + impl_->settings.token;
}

void DesignerServer::run() { impl_->server.listen_after_bind(); }

void DesignerServer::stop() { impl_->server.stop(); }

}  // namespace tagwright::designer
