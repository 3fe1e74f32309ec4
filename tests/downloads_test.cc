// Downloads through the real bridge and engine: a navigation's response that
// is an attachment (or of a type the engine does not render) reaches the
// client's download handler, which continues or cancels it with the
// bridge's exports and reads each item into a DownloadItem record.

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>

#include "support/engine_fixture.h"
#include "support/http_server.h"

namespace {

namespace fs = std::filesystem;
using zvtest::EngineTest;
using zvtest::TestClient;
using zvtest::TestObject;

// A record read the way the Java host reads one: fill, copy the two
// strings out, free.
struct Seen {
  uint32_t id = 0;
  int32_t status = 0;
  std::string file, url;
  int64_t received = 0, total = 0, speed = 0;
  int32_t percent = 0;
};

std::string host_text(const cef_string_t* string) {
  cef_string_userfree_utf8_t text = cefvemo_cefstring_to_java(string);
  std::string out(text->str ? text->str : "", text->length);
  cefvemo_cef_string_free(text);
  return out;
}

Seen read_item(cef_download_item_t* item) {
  DownloadItem record{};
  cefvemo_download_item(item, &record);
  Seen seen{record.id,           record.status, host_text(record.file), host_text(record.url),
            record.received,     record.total,  record.speed,           record.percent};
  cefvemo_download_item(nullptr, &record);
  return seen;
}

// What the client's download handler does with a download.
enum class Answer { kContinue, kNever, kCancelWhileRunning };

struct DownloadClient;
struct DownloadHandler : TestObject<cef_download_handler_t> {
  DownloadClient* owner = nullptr;
};

// Holds back the second half of a served file until opened.
struct Gate {
  std::mutex mutex;
  std::condition_variable cv;
  bool open = true;
  void set(bool value) {
    {
      std::lock_guard lock(mutex);
      open = value;
    }
    cv.notify_all();
  }
  void wait() {
    std::unique_lock lock(mutex);
    cv.wait_for(lock, std::chrono::seconds(30), [this] { return open; });
  }
};

struct DownloadClient : TestClient {
  DownloadHandler downloads;
  Answer answer = Answer::kContinue;
  const char* path = nullptr;  // given to the continuation
  std::shared_ptr<Gate> gate;
  bool keep_item = false;

  int offers = 0;
  std::string suggested;
  Seen offered;
  std::vector<Seen> updates;
  cef_download_item_t* kept_item = nullptr;
  bool cancel_sent = false;

  DownloadClient();
  bool ended() const { return !updates.empty() && updates.back().status != 1; }
};

DownloadClient& owner_of(cef_download_handler_t* self) {
  return *static_cast<DownloadHandler*>(DownloadHandler::of(self))->owner;
}

DownloadClient::DownloadClient() {
  downloads.owner = this;
  cef.get_download_handler = [](cef_client_t* self) {
    auto& handler = static_cast<DownloadClient*>(TestClient::of(self))->downloads;
    handler.refs++;
    return &handler.cef;
  };
  downloads.cef.on_before_download = [](cef_download_handler_t* self, cef_browser_t* browser,
                                        cef_download_item_t* item, const cef_string_t* name,
                                        cef_before_download_callback_t* callback) {
    DownloadClient& c = owner_of(self);
    c.offers++;
    c.suggested = host_text(name);
    c.offered = read_item(item);
    if (c.keep_item) {
      item->base.add_ref(&item->base);
      c.kept_item = item;
    }
    if (c.answer != Answer::kNever) cefvemo_download_callback(callback, c.path, 1);
    zvtest::release(browser);
    zvtest::release(item);
    zvtest::release(callback);
  };
  downloads.cef.on_download_updated = [](cef_download_handler_t* self, cef_browser_t* browser,
                                         cef_download_item_t* item,
                                         cef_download_item_callback_t* callback) {
    DownloadClient& c = owner_of(self);
    c.updates.push_back(read_item(item));
    const Seen& now = c.updates.back();
    if (c.answer == Answer::kCancelWhileRunning && !c.cancel_sent && now.status == 1 &&
        now.received > 0) {
      cefvemo_download_callback(callback, "/path/ignored/when/cancelling", 0);
      c.cancel_sent = true;
      c.gate->set(true);
    }
    zvtest::release(browser);
    zvtest::release(item);
    zvtest::release(callback);
  };
}

std::string file_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DownloadsTest : public EngineTest {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("zv-downloads-" + std::to_string(getpid()));
    fs::create_directories(folder / "Downloads");
    setenv("XDG_DOWNLOAD_DIR", (folder / "Downloads").c_str(), 1);
    EngineTest::SetUp();
    for (size_t i = 0; i < 256 * 1024; ++i)
      body.push_back(static_cast<char>((i * 131 + i / 251) & 0xFF));
    server.page("/start", "<html><head><title>Start</title></head><body></body></html>");
    server.server().Get("/file.bin", [this](const httplib::Request&, httplib::Response& res) {
      res.set_header("Content-Disposition", "attachment; filename=\"report 1.bin\"");
      res.set_content_provider(
          body.size(), "text/html",
          [gate = gate, data = body](size_t offset, size_t length, httplib::DataSink& sink) {
            if (offset >= data.size() / 2) gate->wait();
            const size_t n = std::min<size_t>(length, 16 * 1024);
            return sink.write(data.data() + offset, n);
          });
    });
    server.server().Get("/moved", [](const httplib::Request&, httplib::Response& res) {
      res.set_redirect("/file.bin");
    });
    server.server().Get("/archive.zip", [this](const httplib::Request&, httplib::Response& res) {
      res.set_content(body.substr(0, 1000), "application/zip");
    });
  }
  void TearDown() override {
    gate->set(true);
    EngineTest::TearDown();
    std::error_code error;
    fs::remove_all(folder, error);
  }

  fs::path folder;
  std::string body;
  std::shared_ptr<Gate> gate = std::make_shared<Gate>();
  zvtest::HttpServer server;
};

TEST_F(DownloadsTest, DownloadsCompleteOrCancelAndLeaveNoPartialFile) {
  struct Case {
    const char* name;
    const char* url_path;
    Answer answer;
    const char* file;       // under the test folder; null: continue with a null path
    const char* suggested;  // the name the response suggests
    const char* saved_as;   // where the bytes must end up; null: nowhere
    size_t size;
  } cases[] = {
      {"attachment completes", "/file.bin", Answer::kContinue, "out.bin", "report 1.bin",
       "out.bin", 256 * 1024},
      {"redirect reports the url it started from", "/moved", Answer::kContinue, "moved.bin",
       "report 1.bin", "moved.bin", 256 * 1024},
      {"type that is not rendered, null path: suggested name in the downloads folder, numbered "
       "when taken",
       "/archive.zip", Answer::kContinue, nullptr, "archive.zip", "Downloads/archive (1).zip",
       1000},
      {"cancel while running", "/file.bin", Answer::kCancelWhileRunning, "cancelled.bin",
       "report 1.bin", nullptr, 256 * 1024},
      {"never continued", "/file.bin", Answer::kNever, "never.bin", "report 1.bin", nullptr,
       256 * 1024},
  };
  // Taken before the row that must not overwrite it.
  std::ofstream(folder / "Downloads" / "archive.zip") << "older file";

  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    DownloadClient client;
    client.answer = test.answer;
    const std::string path = test.file ? (folder / test.file).string() : std::string();
    client.path = test.file ? path.c_str() : nullptr;
    client.gate = gate;
    client.keep_item = true;
    gate->set(test.answer == Answer::kContinue);
    cef_browser_t* browser = open(client, server.url("/start"));

    const std::string url = server.url(test.url_path);
    cefvemo_load_url(browser, url.c_str(), nullptr, 0, nullptr, 0);
    ASSERT_TRUE(zvtest::pump_until([&] { return client.ended(); }));
    zvtest::pump(20);  // nothing may follow the final report

    // The navigation ended as aborted and left the page where it was.
    EXPECT_EQ(client.last_error, -3);
    EXPECT_EQ(client.title, "Start");

    EXPECT_EQ(client.offers, 1);
    EXPECT_EQ(client.suggested, test.suggested);
    EXPECT_NE(client.offered.id, 0u);
    EXPECT_EQ(client.offered.status, 1);
    EXPECT_EQ(client.offered.url, url);
    EXPECT_EQ(client.offered.total, static_cast<int64_t>(test.size));

    // Kept beyond its call, the item reads as not valid and leaves the
    // record's other fields alone.
    ASSERT_NE(client.kept_item, nullptr);
    DownloadItem stale{};
    stale.id = 77;
    cefvemo_download_item(client.kept_item, &stale);
    EXPECT_EQ(stale.status, -1);
    EXPECT_EQ(stale.id, 77u);
    EXPECT_EQ(stale.file, nullptr);
    zvtest::release(client.kept_item);

    const Seen& last = client.updates.back();
    int running = 0;
    for (const Seen& u : client.updates) {
      EXPECT_EQ(u.id, client.offered.id);
      EXPECT_EQ(u.url, url);
      if (&u == &last) break;
      EXPECT_EQ(u.status, 1) << "one final report, and it comes last";
      EXPECT_LE(u.received, u.total);
      EXPECT_EQ(u.total, static_cast<int64_t>(test.size));
      EXPECT_EQ(u.percent, u.received * 100 / u.total);
      EXPECT_GE(u.speed, 0);
      running++;
    }

    if (test.saved_as) {
      const fs::path saved = folder / test.saved_as;
      EXPECT_GT(running, 0);
      EXPECT_EQ(last.status, 2);
      EXPECT_EQ(last.file, saved.string());
      EXPECT_EQ(last.received, static_cast<int64_t>(test.size));
      EXPECT_EQ(last.total, static_cast<int64_t>(test.size));
      EXPECT_EQ(last.percent, 100);
      EXPECT_EQ(file_bytes(saved), body.substr(0, test.size));
      EXPECT_FALSE(fs::exists(saved.string() + ".part"));
    } else {
      EXPECT_EQ(last.status, 3);
      EXPECT_LT(last.received, static_cast<int64_t>(test.size));
      EXPECT_FALSE(fs::exists(path));
      EXPECT_FALSE(fs::exists(path + ".part"));
    }
    if (test.answer == Answer::kNever) {
      EXPECT_EQ(client.updates.size(), 1u);
    }

    EXPECT_TRUE(close_and_release(client, browser));
  }
  EXPECT_EQ(file_bytes(folder / "Downloads" / "archive.zip"), "older file");
}

// Closing the browser cancels a download that is still running.
TEST_F(DownloadsTest, ClosingTheBrowserCancelsItsDownload) {
  DownloadClient client;
  const std::string path = (folder / "closed.bin").string();
  client.path = path.c_str();
  client.gate = gate;
  gate->set(false);
  cef_browser_t* browser = open(client, server.url("/start"));
  const std::string url = server.url("/file.bin");
  cefvemo_load_url(browser, url.c_str(), nullptr, 0, nullptr, 0);
  ASSERT_TRUE(zvtest::pump_until([&] {
    return !client.updates.empty() && client.updates.back().received > 0;
  }));
  EXPECT_TRUE(close_and_release(client, browser));
  gate->set(true);
  zvtest::pump(50);
  EXPECT_FALSE(fs::exists(path));
  // Gone with the transfer's end, not at shutdown.
  EXPECT_TRUE(zvtest::pump_until([&] { return !fs::exists(path + ".part"); }));
}

// A record filled from items in each state: in progress wins over the
// later flags, an item that is not valid only sets the status.
TEST(DownloadItemRecord, StatusPrecedenceAndFreeMode) {
  struct Flags {
    int valid, in_progress, complete, canceled;
  };
  static Flags flags;
  struct Case {
    Flags flags;
    int32_t status;
  } cases[] = {
      {{1, 1, 0, 1}, 1},   // canceled but still reported in progress
      {{1, 0, 1, 1}, 2},
      {{1, 0, 0, 1}, 3},
      {{1, 0, 0, 0}, 0},
      {{0, 1, 0, 0}, -1},
      {{2, 1, 0, 0}, -1},  // only 1 is valid
  };
  TestObject<cef_download_item_t> item;
  item.cef.is_valid = [](cef_download_item_t*) { return flags.valid; };
  item.cef.is_in_progress = [](cef_download_item_t*) { return flags.in_progress; };
  item.cef.is_complete = [](cef_download_item_t*) { return flags.complete; };
  item.cef.is_canceled = [](cef_download_item_t*) { return flags.canceled; };
  item.cef.get_id = [](cef_download_item_t*) -> uint32_t { return 4000000000u; };
  item.cef.get_received_bytes = [](cef_download_item_t*) -> int64_t { return 5000000000; };
  item.cef.get_total_bytes = [](cef_download_item_t*) -> int64_t { return 6000000000; };
  item.cef.get_current_speed = [](cef_download_item_t*) -> int64_t { return 7; };
  item.cef.get_percent_complete = [](cef_download_item_t*) { return 83; };
  item.cef.get_full_path = [](cef_download_item_t*) -> cef_string_userfree_t { return nullptr; };
  item.cef.get_original_url = [](cef_download_item_t*) {
    cef_string_userfree_t s = cef_string_userfree_utf16_alloc();
    cef_string_utf8_to_utf16("http://x/\xF0\x9F\x93\xA6", 13, s);
    return s;
  };

  for (const Case& test : cases) {
    flags = test.flags;
    DownloadItem record{};
    record.id = 1;
    cefvemo_download_item(&item.cef, &record);
    EXPECT_EQ(record.status, test.status);
    if (test.status == -1) {
      EXPECT_EQ(record.id, 1u);
      EXPECT_EQ(record.url, nullptr);
      continue;
    }
    EXPECT_EQ(record.id, 4000000000u);
    EXPECT_EQ(record.file, nullptr);
    EXPECT_EQ(host_text(record.url), "http://x/\xF0\x9F\x93\xA6");
    EXPECT_EQ(record.received, 5000000000);
    EXPECT_EQ(record.total, 6000000000);
    EXPECT_EQ(record.speed, 7);
    EXPECT_EQ(record.percent, 83);
    cefvemo_download_item(nullptr, &record);
  }
  // Free mode on null strings, and null records and callbacks, do nothing.
  DownloadItem empty{};
  cefvemo_download_item(nullptr, &empty);
  cefvemo_download_item(&item.cef, nullptr);
  cefvemo_download_callback(nullptr, "x", 1);
  cefvemo_download_callback(nullptr, nullptr, 0);
  EXPECT_EQ(item.refs, 1) << "no reference is added or released";
}

}  // namespace
