#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tagwright::designer {

// What a request says about where it comes from, as its headers and its
// query give it; nothing for a header that is absent.
struct RequestOrigin {
  std::optional<std::string_view> host;
  std::optional<std::string_view> origin;
  std::optional<std::string_view> fetchSite;  // Sec-Fetch-Site
  std::optional<std::string_view> token;      // the X-Tagwright-Token header, else ?token=
};

// Whether a request may be answered by the server on 127.0.0.1:`port`
// holding `token`. Any web page the user visits can make the browser send
// requests to the loopback address, so each must show that it comes from
// the designer's own page: the token it was given, the Host the server is
// reached by (127.0.0.1:PORT or localhost:PORT: a DNS-rebound name is
// refused), and no Origin other than the page's own. Returns the reason of
// a refusal, or nothing.
std::optional<std::string> refusalOf(const RequestOrigin& request, int port,
                                     std::string_view token);

// A random token of 32 hexadecimal digits, from the system's random source.
std::string makeToken();

}  // namespace tagwright::designer
