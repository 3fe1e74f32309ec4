// Engine start through the real bridge library and the real engine:
// the settings the engine receives, its log, the pump, command-line switches
// and the containment of message-loop work.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <unistd.h>

#include "cefwork/test_hooks.h"
#include "support/test_app.h"
#include "utils/cef_string.h"
#include "utils/paths.h"
#include "zorvan_vemo.h"

namespace {

namespace fs = std::filesystem;
using zvtest::TestApp;

std::string str(const cef_string_t& s) { return utils::to_utf8(&s); }
const std::string kSep(1, utils::kPathSeparator);

std::string read_file(const fs::path& path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A scratch engine directory "<tmp>/<name>/engine" that is removed afterwards.
struct ScratchDir {
  fs::path root;
  explicit ScratchDir(const std::string& name)
      : root(fs::temp_directory_path() / ("zv-" + name + "-" + std::to_string(getpid()))) {
    fs::create_directories(root / "engine");
  }
  ~ScratchDir() { fs::remove_all(root); }
  std::string engine() const { return (root / "engine").string(); }
};

TEST(EngineInit, SettingsForOptionStrings) {
  struct Case {
    const char* options;
    const char* version;
    int pump;
    std::optional<std::string> cache;  // nullopt: the default beside the engine directory
  } cases[] = {
      {"1.0", "1.0", 1, std::nullopt},
      {"1.0;external_message_pump=false", "1.0", 0, std::nullopt},
      {"1.0;external_message_pump=TRUE", "1.0", 0, std::nullopt},
      {"1.0;external_message_pump", "1.0", 0, std::nullopt},
      {"1.0;external_message_pump=true", "1.0", 1, std::nullopt},
      {"1.0;cache_path=", "1.0", 1, ""},
      {"1.0;cache_path=/c/x=y", "1.0", 1, "/c/x=y"},
      {"1.0;cache_path=/first;cache_path=/second", "1.0", 1, "/second"},
      {"1.0; cache_path=/ignored", "1.0", 1, std::nullopt},
      {"", "", 1, std::nullopt},
      {nullptr, "", 1, std::nullopt},
      {"cache_path=/v", "cache_path=/v", 1, "/v"},  // the version item is an option item too
  };
  const std::string dir = "/opt/zv/engine";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options ? c.options : "(null)");
    TestApp app;
    cefvemo_init(&app.cef, dir.c_str(), c.options, 0);
    const cef_settings_t* s = cefwork_test_settings();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->size, 432u);
    EXPECT_EQ(s->external_message_pump, c.pump);
    const std::string cache = c.cache.value_or("/opt/zv" + kSep + "cache");
    EXPECT_EQ(str(s->cache_path), cache);
    EXPECT_EQ(str(s->root_cache_path), cache);
    EXPECT_EQ(str(s->browser_subprocess_path),
              dir + kSep + "zorvan_subp-" + c.version + ".exe");
    cefvemo_shutdown();
  }
}

TEST(EngineInit, FixedMembersAndPaths) {
  TestApp app;
  cefvemo_init(&app.cef, "/opt/zv/engine", "2.5", 0);
  const cef_settings_t* s = cefwork_test_settings();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->no_sandbox, 1);
  EXPECT_EQ(s->multi_threaded_message_loop, 0);
  EXPECT_EQ(s->windowless_rendering_enabled, 0);
  EXPECT_EQ(s->command_line_args_disabled, 0);
  EXPECT_EQ(s->persist_session_cookies, 1);
  EXPECT_EQ(s->persist_user_preferences, 1);
  EXPECT_EQ(s->pack_loading_disabled, 0);
  EXPECT_EQ(s->uncaught_exception_stack_size, 0);
  EXPECT_EQ(s->ignore_certificate_errors, 0);
  EXPECT_EQ(s->enable_net_security_expiration, 0);
  EXPECT_EQ(s->background_color, 0u);
  EXPECT_EQ(str(s->resources_dir_path), "/opt/zv/engine");
  EXPECT_EQ(str(s->locales_dir_path), "/opt/zv/engine" + kSep + "locales");
  EXPECT_EQ(str(s->log_file), "/opt/zv/engine" + kSep + "lib.log");
  EXPECT_EQ(str(s->application_client_id_for_file_scanning), "zorvan.vemo");
  for (const cef_string_t* empty :
       {&s->framework_dir_path, &s->main_bundle_path, &s->user_data_path, &s->user_agent,
        &s->product_version, &s->locale, &s->javascript_flags, &s->accept_language_list}) {
    EXPECT_EQ(empty->length, 0u);
  }
  EXPECT_EQ(s->remote_debugging_port, 0);
  EXPECT_EQ(s->log_severity, LOGSEVERITY_FATAL);
  cefvemo_shutdown();
}

TEST(EngineInit, DebugPortSelectsPortAndSeverity) {
  struct Case {
    int arg, port;
    cef_log_severity_t severity;
  } cases[] = {
      {4000, 4000, LOGSEVERITY_INFO},  {1, 1, LOGSEVERITY_INFO},
      {0, 0, LOGSEVERITY_FATAL},       {-1, 0, LOGSEVERITY_VERBOSE},
      {-2, 0, LOGSEVERITY_INFO},       {-3, 0, LOGSEVERITY_WARNING},
      {-4, 0, LOGSEVERITY_ERROR},      {-5, 0, LOGSEVERITY_FATAL},
      {-6, 0, LOGSEVERITY_INFO},       {INT32_MIN, 0, LOGSEVERITY_INFO},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arg);
    TestApp app;
    cefvemo_init(&app.cef, "/opt/zv/engine", "1", c.arg);
    EXPECT_EQ(cefwork_test_settings()->remote_debugging_port, c.port);
    EXPECT_EQ(cefwork_test_settings()->log_severity, c.severity);
    cefvemo_shutdown();
  }
}

TEST(EngineInit, EngineDirectoriesWithAndWithoutParent) {
  struct Case {
    const char* dir;
    std::string cache;
  } cases[] = {
      {"engine", "cache"},                       // relative, one component
      {"/opt/zv/engine/", "/opt/zv" + kSep + "cache"},
      {"C:\\zv\\engine", "C:\\zv" + kSep + "cache"},
      // No parent: the cache goes inside the engine directory.
      {"", "cache"},
      {"/", "/cache"},
      {"C:\\", "C:\\cache"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dir);
    TestApp app;
    cefvemo_init(&app.cef, c.dir, "1", 0);
    EXPECT_EQ(str(cefwork_test_settings()->cache_path), c.cache);
    cefvemo_shutdown();
  }
}

TEST(EngineInit, WritesTheLogAtTheSelectedSeverity) {
  ScratchDir verbose("log-verbose"), fatal_only("log-fatal");
  {
    TestApp app;
    cefvemo_init(&app.cef, verbose.engine().c_str(), "1", -1);
    cefvemo_shutdown();
  }
  const std::string log = read_file(verbose.root / "engine" / "lib.log");
  EXPECT_NE(log.find(":INFO:"), std::string::npos) << log;
  EXPECT_NE(log.find(":VERBOSE:"), std::string::npos) << log;
  EXPECT_NE(log.find("zorvan_subp-1.exe"), std::string::npos) << log;
  {
    TestApp app;
    cefvemo_init(&app.cef, fatal_only.engine().c_str(), "1", 0);
    cefvemo_shutdown();
  }
  EXPECT_EQ(read_file(fatal_only.root / "engine" / "lib.log").find(":INFO:"), std::string::npos);
}

TEST(EnginePump, ContextInitialisedWhenTheHostPumps) {
  TestApp app;
  cefvemo_init(&app.cef, zvtest::engine_dir().c_str(), ZV_SUBP_VERSION, 0);
  EXPECT_EQ(app.command_line_calls, 1);
  EXPECT_GE(app.handler.pump_requests, 1) << "posting work asks the external pump";
  EXPECT_EQ(app.handler.context_initialized, 0);
  EXPECT_EQ(cefvemo_do_message_loop_work(), 1);
  EXPECT_EQ(app.handler.context_initialized, 1);
  cefvemo_shutdown();
}

TEST(EnginePump, NoPumpRequestsWhenThePumpIsOff) {
  TestApp app;
  cefvemo_init(&app.cef, zvtest::engine_dir().c_str(), "1;external_message_pump=0", 0);
  EXPECT_EQ(app.handler.pump_requests, 0);
  zvtest::pump(1);
  EXPECT_EQ(app.handler.context_initialized, 1);
  cefvemo_shutdown();
}

std::string switch_value(cef_command_line_t* line, const char* name) {
  const utils::CefString n = utils::cef_string(name);
  const utils::UserFree16 value(line->get_switch_value(line, n.get()));
  return utils::to_utf8(value.get());
}

TEST(SetCommand, PrintsTheLineAndAppendsTheSwitch) {
  TestApp app;
  app.on_command_line = [](cef_command_line_t* line) {
    cefvemo_set_command(line, "disable-gpu", nullptr);
    cefvemo_set_command(line, "lang", "de-CH");
  };
  testing::internal::CaptureStdout();
  cefvemo_init(&app.cef, "/opt/zv/engine", "1", 0);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "cefvemo_set_command disable-gpu\ncefvemo_set_command lang de-CH\n");

  cef_command_line_t* line = cefwork_test_browser_command_line();
  ASSERT_NE(line, nullptr);
  const utils::CefString gpu = utils::cef_string("disable-gpu");
  EXPECT_EQ(line->has_switch(line, gpu.get()), 1);
  EXPECT_EQ(switch_value(line, "disable-gpu"), "");
  EXPECT_EQ(switch_value(line, "lang"), "de-CH");
  zvtest::release(line);
  cefvemo_shutdown();
}

// A command line whose switch members are missing, as no real CEF hands
// out: the export's fatal condition.
struct BrokenCommandLine : zvtest::TestObject<cef_command_line_t> {};

void call_set_command_on_broken_line(void* arg) {
  cefvemo_set_command(&static_cast<BrokenCommandLine*>(arg)->cef, "x", nullptr);
}

void count_task(void* arg) { ++*static_cast<int*>(arg); }

TEST(Containment, FatalInsideWorkReturnsZeroAndTheProcessGoesOn) {
  TestApp app;
  cefvemo_init(&app.cef, zvtest::engine_dir().c_str(), "1", 0);
  EXPECT_EQ(cefvemo_do_message_loop_work(), 1);

  BrokenCommandLine broken;
  int ran_after = 0;
  cefwork_test_post_task(&call_set_command_on_broken_line, &broken);
  cefwork_test_post_task(&count_task, &ran_after);
  testing::internal::CaptureStderr();
  EXPECT_EQ(cefvemo_do_message_loop_work(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "null append_switch\n");
  EXPECT_EQ(ran_after, 1) << "the rest of the unit still ran";

  // Later units are unaffected.
  cefwork_test_post_task(&count_task, &ran_after);
  EXPECT_EQ(cefvemo_do_message_loop_work(), 1);
  EXPECT_EQ(ran_after, 2);
  cefvemo_shutdown();
}

void nested_unit_with_failure(void* arg) {
  // A handler that pumps again: the inner unit contains its own failure.
  auto* broken = static_cast<BrokenCommandLine*>(arg);
  cefwork_test_post_task(&call_set_command_on_broken_line, broken);
  static int inner_result = -1;
  inner_result = cefvemo_do_message_loop_work();
  std::fprintf(stderr, "inner %d\n", inner_result);
}

TEST(Containment, NestedUnitsReportOnlyTheirOwnFailures) {
  TestApp app;
  cefvemo_init(&app.cef, zvtest::engine_dir().c_str(), "1", 0);
  zvtest::pump(1);
  BrokenCommandLine broken;
  cefwork_test_post_task(&nested_unit_with_failure, &broken);
  testing::internal::CaptureStderr();
  EXPECT_EQ(cefvemo_do_message_loop_work(), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "null append_switch\ninner 0\n");
  cefvemo_shutdown();
}

TEST(FatalStops, OutsideWorkTheProcessEnds) {
  TestApp app;
  app.cef.base.size = 79;
  EXPECT_DEATH(cefvemo_init(&app.cef, "/opt/zv/engine", "1", 0), "left: 79\n right: 80");
  EXPECT_DEATH(cefvemo_init(nullptr, "/opt/zv/engine", "1", 0), "left: 0\n right: 80");
  BrokenCommandLine broken;
  EXPECT_DEATH(cefvemo_set_command(&broken.cef, "x", "v"), "null append_switch_with_value");
  EXPECT_EQ(cefwork_test_initialize_count(), 0) << "nothing was read past the size check";
}

}  // namespace
