#include "designer/request_guard.h"

#include <random>

namespace tagwright::designer {
namespace {

// Compares in a time that does not tell how many leading characters match.
bool sameToken(std::string_view given, std::string_view expected) {
  if (given.size() != expected.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < given.size(); ++i) {
    difference = static_cast<unsigned char>(difference | (given[i] ^ expected[i]));
  }
  return difference == 0;
}

}  // namespace

std::optional<std::string> refusalOf(const RequestOrigin& request, int port,
                                     std::string_view token) {
  const std::string portText = std::to_string(port);
  const std::string loopback = "127.0.0.1:" + portText;
  const std::string localhost = "localhost:" + portText;
  if (!request.host || (*request.host != loopback && *request.host != localhost)) {
    return std::string("the Host must be ") + loopback + " or " + localhost;
  }
  if (request.origin && *request.origin != "http://" + std::string(*request.host)) {
    return std::string("requests from other pages are refused");
  }
  if (request.fetchSite && *request.fetchSite != "same-origin" && *request.fetchSite != "none") {
    return std::string("requests from other sites are refused");
  }
  if (!request.token || !sameToken(*request.token, token)) {
    return std::string("the address's token is missing or wrong");
  }
  return std::nullopt;
}

std::string makeToken() {
  std::random_device random;
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string token;
  for (int i = 0; i < 4; ++i) {
    const unsigned int word = random();
    for (int shift = 0; shift < 32; shift += 4) token += kDigits[(word >> shift) & 0xF];
  }
  return token;
}

}  // namespace tagwright::designer
