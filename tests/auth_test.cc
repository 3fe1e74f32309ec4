// HTTP authentication through the real bridge and engine: a 401 answer with
// a Basic challenge asks the client's request handler, which answers with
// cefvemo_auth_callback; the engine fetches again with the credentials or
// shows the 401 answer.

#include <gtest/gtest.h>

#include <optional>

#include "support/engine_fixture.h"
#include "support/http_server.h"

namespace {

using zvtest::EngineTest;
using zvtest::TestClient;
using zvtest::TestRequest;

const char* const kUser = "\xC3\x9Cn\xC3\xAF code:user";              // "Ünï code:user"
const char* const kPassword = "p\xC3\xA4ss w\xC3\xB6rd \xF0\x9F\x94\x91";  // "päss wörd 🔑"
const char* const kRealm = "Staff \xE2\x9C\x93 \"inner\" area";

struct Reply {
  const char* user;
  const char* password;
  int32_t cont;
  bool later = false;  // answered after the handler has returned
};

struct Question {
  std::string host, realm, scheme;
  int port = 0, is_proxy = -1;
};

struct AuthClient : TestClient {
  std::vector<Reply> replies;  // one per question, in order
  int handler_result = 1;
  std::vector<Question> questions;
  cef_auth_callback_t* pending = nullptr;  // a reply to give later
  std::optional<Reply> pending_reply;

  AuthClient();
};

std::string text(const cef_string_t* string) {
  cef_string_userfree_utf8_t t = cefvemo_cefstring_to_java(string);
  std::string out(t->str ? t->str : "", t->length);
  cefvemo_cef_string_free(t);
  return out;
}

AuthClient::AuthClient() {
  request.cef.get_auth_credentials =
      [](cef_request_handler_t* self, cef_browser_t* browser, const cef_string_t*, int is_proxy,
         const cef_string_t* host, int port, const cef_string_t* realm,
         const cef_string_t* scheme, cef_auth_callback_t* callback) {
        auto& c = *static_cast<AuthClient*>(static_cast<TestRequest*>(TestRequest::of(self))->client);
        c.questions.push_back({text(host), text(realm), text(scheme), port, is_proxy});
        const size_t index = c.questions.size() - 1;
        if (index < c.replies.size()) {
          const Reply& reply = c.replies[index];
          if (reply.later) {
            callback->base.add_ref(&callback->base);
            c.pending = callback;
            c.pending_reply = reply;
          } else {
            cefvemo_auth_callback(callback, reply.user, reply.password, reply.cont);
          }
        }
        zvtest::release(browser);
        zvtest::release(callback);
        return c.handler_result;
      };
}

class AuthTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    server.page("/start", "<html><head><title>Start</title></head><body></body></html>");
    server.server().Get("/secret", [this](const httplib::Request& request,
                                          httplib::Response& response) {
      server.record(request);
      const auto expected = httplib::make_basic_authentication_header(user, password);
      if (request.get_header_value("Authorization") == expected.second) {
        response.set_content("<html><head><title>Welcome</title></head></html>", "text/html");
        return;
      }
      response.status = 401;
      response.set_header("WWW-Authenticate",
                          "Basic realm=\"Staff \xE2\x9C\x93 \\\"inner\\\" area\", charset=\"UTF-8\"");
      response.set_content("<html><head><title>Denied</title></head></html>", "text/html");
    });
  }

  // Authorization headers the server received, in order.
  std::vector<std::string> authorizations() const {
    std::vector<std::string> out;
    for (const auto& r : server.requests())
      if (r.path == "/secret") {
        const auto values = r.header_values("Authorization");
        out.push_back(values.empty() ? "" : values[0]);
      }
    return out;
  }

  std::string user = kUser, password = kPassword;
  zvtest::HttpServer server;
};

TEST_F(AuthTest, CredentialsRetryTheRequestOrTheChallengeIsShown) {
  const std::string right = httplib::make_basic_authentication_header(kUser, kPassword).second;
  struct Case {
    const char* name;
    std::vector<Reply> replies;
    int handler_result;
    bool empty_credentials;  // the server wants "" and ""
    size_t questions;
    int status;
    const char* title;
  } cases[] = {
      {"continue", {{kUser, kPassword, 1}}, 1, false, 1, 200, "Welcome"},
      {"continue after the handler returned", {{kUser, kPassword, 1, true}}, 1, false, 1, 200,
       "Welcome"},
      {"null credentials are two empty strings", {{nullptr, nullptr, 1}}, 1, true, 1, 200,
       "Welcome"},
      {"cancel shows the 401 answer", {{kUser, kPassword, 0}}, 1, false, 1, 401, "Denied"},
      {"only 1 continues", {{kUser, kPassword, 2}}, 1, false, 1, 401, "Denied"},
      {"handler returning 0 refuses", {}, 0, false, 1, 401, "Denied"},
      {"wrong, then right", {{"someone", "wrong", 1}, {kUser, kPassword, 1}}, 1, false, 2, 200,
       "Welcome"},
      {"asked three times at most",
       {{"a", "1", 1}, {"b", "2", 1}, {"c", "3", 1}, {kUser, kPassword, 1}}, 1, false, 3, 401,
       "Denied"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    user = test.empty_credentials ? "" : kUser;
    password = test.empty_credentials ? "" : kPassword;
    AuthClient client;
    client.replies = test.replies;
    client.handler_result = test.handler_result;
    cef_browser_t* browser = open(client, server.url("/start"));
    const size_t before = authorizations().size();

    const std::string url = server.url("/secret");
    cefvemo_load_url(browser, url.c_str(), nullptr, 0, nullptr, 0);
    ASSERT_TRUE(zvtest::pump_until([&] {
      if (client.pending && client.pending_reply) {
        // The host answers from its event loop, some time later.
        zvtest::pump(5);
        cefvemo_auth_callback(client.pending, client.pending_reply->user,
                              client.pending_reply->password, client.pending_reply->cont);
        zvtest::release(std::exchange(client.pending, nullptr));
        client.pending_reply.reset();
      }
      return client.load_ends + client.load_errors == 2 && !client.loading;
    }));
    EXPECT_EQ(client.events.back(), "loading 0 1 0");
    EXPECT_TRUE(client.saw("load_end " + std::to_string(test.status)));
    EXPECT_EQ(client.load_errors, 0);
    EXPECT_EQ(client.title, test.title);

    ASSERT_EQ(client.questions.size(), test.questions);
    for (const Question& q : client.questions) {
      EXPECT_EQ(q.host, "127.0.0.1");
      EXPECT_EQ(q.port, std::stoi(url.substr(url.rfind(':') + 1)));
      EXPECT_EQ(q.realm, kRealm);
      EXPECT_EQ(q.scheme, "basic");
      EXPECT_EQ(q.is_proxy, 0);
    }
    // The first request goes without credentials; each continued answer
    // sends its own, exactly.
    const auto sent = authorizations();
    ASSERT_GE(sent.size(), before + 1);
    EXPECT_EQ(sent[before], "");
    std::vector<std::string> expected;
    for (size_t i = 0; i < test.questions && i < test.replies.size(); ++i) {
      const Reply& r = test.replies[i];
      if (r.cont == 1)
        expected.push_back(httplib::make_basic_authentication_header(
                               r.user ? r.user : "", r.password ? r.password : "")
                               .second);
    }
    EXPECT_EQ(std::vector<std::string>(sent.begin() + before + 1, sent.end()), expected);
    if (test.status == 200 && !test.empty_credentials) {
      EXPECT_EQ(sent.back(), right);
    }

    EXPECT_TRUE(close_and_release(client, browser));
  }
}

TEST(AuthCallbackExport, NullCallbackIsIgnored) {
  cefvemo_auth_callback(nullptr, "user", "password", 1);
  cefvemo_auth_callback(nullptr, nullptr, nullptr, 0);
}

}  // namespace
