// Fatal stops: the message on standard error and as a line appended to the
// engine's log file, both when the process ends and when a unit of
// message-loop work contains the failure. Also run as a Windows program
// under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "utils/fatal.h"

namespace {

// A log file of its own, holding one earlier line, removed at the end. Its
// name has a non-ASCII letter, as engine directories may have, and is the
// same in a death test's child process (which may run SetUp again): the
// test's name and the working directory, which differs between build trees.
class FatalLogTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::string directory = std::filesystem::current_path().string();
    path_ = testing::TempDir() + "zorvan-fatal-\xC3\xA9-" +
            testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
            std::to_string(std::hash<std::string>()(directory)) + ".log";
    std::ofstream(native_path(), std::ios::binary) << "earlier line\n";
  }
  void TearDown() override {
    utils::set_fatal_log_file("");
    std::filesystem::remove(native_path());
  }
  std::filesystem::path native_path() const { return std::filesystem::u8path(path_); }
  std::string log() const {
    std::ifstream in(native_path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::string path_;
};

TEST_F(FatalLogTest, StopWritesItsMessageToStandardErrorAndTheLogFile) {
  EXPECT_DEATH(
      {
        utils::set_fatal_log_file(path_);
        utils::fatal("Cannot set non-blocking");
      },
      "Cannot set non-blocking");
  const std::string text = log();
  EXPECT_EQ(text.rfind("earlier line\n[", 0), 0u) << text;
  EXPECT_NE(text.find(":FATAL:zorvan] Cannot set non-blocking\n"), std::string::npos) << text;
}

TEST_F(FatalLogTest, ContainedFailureIsLoggedAndReturns) {
  utils::set_fatal_log_file(path_);
  utils::WorkUnit unit;
  utils::fatal_not_equal("cef_app_t size", 8, 80);
  EXPECT_TRUE(unit.failed());
  EXPECT_NE(log().find("] assertion `left == right` failed: cef_app_t size\n  left: 8\n right: 80\n"),
            std::string::npos)
      << log();
}

}  // namespace
