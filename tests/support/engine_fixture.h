// A running engine for one test, with a toolkit window and helpers to open
// browsers on it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/test_app.h"
#include "support/test_client.h"
#include "zorvan_vemo.h"

namespace zvtest {

class EngineTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens a browser on `url` in the parent window and waits for its first
  // load to end (when the URL is not empty).
  cef_browser_t* open(TestClient& client, const std::string& url, int width = 640,
                      int height = 480);
  // Closes the browser, waits for on_before_close and drops the host's
  // reference; true when the browser was then destroyed.
  bool close_and_release(TestClient& client, cef_browser_t* browser);
  // Text of a user-free string from the library, which is freed.
  static std::string take(cef_string_userfree_utf8_t string);

  TestApp app;
  ParentWindow parent;
};

}  // namespace zvtest
