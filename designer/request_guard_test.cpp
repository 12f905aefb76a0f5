#include "designer/request_guard.h"

#include <gtest/gtest.h>

namespace tagwright::designer {
namespace {

TEST(RequestGuard, OnlyThePagesOwnRequestsAreAnswered) {
  const std::string token = "0123456789abcdef0123456789abcdef";
  struct Case {
    const char* what;
    std::optional<std::string_view> host, origin, fetchSite, token;
    bool answered;
  };
  const Case cases[] = {
      {"the page itself", "127.0.0.1:8080", "http://127.0.0.1:8080", "same-origin", token, true},
      {"localhost", "localhost:8080", "http://localhost:8080", std::nullopt, token, true},
      {"typed in the address bar", "127.0.0.1:8080", std::nullopt, "none", token, true},
      {"no token", "127.0.0.1:8080", std::nullopt, std::nullopt, std::nullopt, false},
      {"a wrong token", "127.0.0.1:8080", std::nullopt, std::nullopt,
       "0123456789abcdef0123456789abcdee", false},
      {"a token's beginning", "127.0.0.1:8080", std::nullopt, std::nullopt, "0123", false},
      {"a rebound name", "evil.example:8080", std::nullopt, std::nullopt, token, false},
      {"another port", "127.0.0.1:8081", std::nullopt, std::nullopt, token, false},
      {"no Host", std::nullopt, std::nullopt, std::nullopt, token, false},
      {"another page", "127.0.0.1:8080", "http://evil.example", std::nullopt, token, false},
      {"the page's name on another host", "127.0.0.1:8080", "http://localhost:8080", std::nullopt,
       token, false},
      {"an opaque origin", "127.0.0.1:8080", "null", std::nullopt, token, false},
      {"another site", "127.0.0.1:8080", std::nullopt, "cross-site", token, false},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> refused =
        refusalOf(RequestOrigin{c.host, c.origin, c.fetchSite, c.token}, 8080, token);
    EXPECT_EQ(!refused.has_value(), c.answered) << c.what << ": " << refused.value_or("answered");
  }
}

TEST(RequestGuard, TokensAreLongAndDifferEachTime) {
  const std::string first = makeToken();
  const std::string second = makeToken();
  EXPECT_EQ(first.size(), 32u);
  EXPECT_EQ(first.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_NE(first, second);
}

}  // namespace
}  // namespace tagwright::designer
