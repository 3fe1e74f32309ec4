// A recording stand-in of the engine bridge library for tests of the JNI
// bridge: built as a library of the same name in a directory of its own,
// it exports every function the bridge imports and records the arguments
// each call received, as the bridge passed them. The natives of
// org.tessal.vemo.internal.zorvan.lib.standin.StandIn read the record.
//
// Call lines read "name arg arg ...": integers in decimal as the export's
// parameter type holds them (so a sign-extended -1 shows as -1), texts as
// the hex of their bytes or "null".
#include <jni.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#define ZV_STANDIN extern "C" __attribute__((visibility("default")))

namespace {

std::string calls;

struct UserFree8 {
  char* str;
  size_t length;
  void (*dtor)(char*);
};

void arg(int64_t value) { calls += " " + std::to_string(value); }
void arg(int32_t value) { arg(int64_t{value}); }
void arg(const void* pointer) { arg(static_cast<int64_t>(reinterpret_cast<intptr_t>(pointer))); }
void arg(double value) {
  char text[32];
  std::snprintf(text, sizeof text, " %g", value);
  calls += text;
}
void text(const char* chars) {
  if (!chars) {
    calls += " null";
    return;
  }
  calls += " ";
  for (const char* c = chars; *c; ++c) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(*c));
    calls += hex;
  }
  if (!*chars) calls += "-";
}
void bytes(const void* data, uint64_t length) {
  if (!data) {
    calls += " null";
    return;
  }
  calls += " ";
  if (length == 0) calls += "-";
  const auto* b = static_cast<const unsigned char*>(data);
  for (uint64_t i = 0; i < length && i < 64; ++i) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", b[i]);
    calls += hex;
  }
}
template <typename... A>
void args(A... values) {
  (arg(values), ...);
}
template <typename... A>
void record(const char* name, A... values) {
  if (!calls.empty()) calls += "\n";
  calls += name;
  args(values...);
}

void free_chars(char* chars) { delete[] chars; }

// A user-free string holding the NUL-terminated bytes at `source`; a null
// source gives a record whose text pointer is null.
UserFree8* user_free(const void* source) {
  auto* s = new UserFree8{nullptr, 0, free_chars};
  if (source) {
    s->length = std::strlen(static_cast<const char*>(source));
    s->str = new char[s->length + 1];
    std::memcpy(s->str, source, s->length + 1);
  }
  return s;
}

struct FunctionRecord {
  int32_t id;
  int32_t port;
  uint64_t args;
};

struct DownloadRecord {
  int32_t id, status;
  int64_t file, url, received, total, speed;
  int32_t percent;
};

}  // namespace

ZV_STANDIN void cefvemo_init(void* app, const char* dir, const char* options, int32_t port) {
  record("init", app), text(dir), text(options), arg(int64_t{port});
}
ZV_STANDIN int32_t cefvemo_do_message_loop_work() { return record("do_message_loop_work"), 0x1234; }
ZV_STANDIN void cefvemo_shutdown() { record("shutdown"); }
ZV_STANDIN void cefvemo_set_command(void* line, const char* name, const char* value) {
  record("set_command", line), text(name), text(value);
}
ZV_STANDIN void* cefvemo_create_browser(void* parent, const char* url, void* client, int32_t w,
                                        int32_t h, int32_t js, uint32_t background) {
  record("create_browser", parent), text(url);
  args(client, int64_t{w}, int64_t{h}, int64_t{js}, int64_t{background});
  return client;
}
ZV_STANDIN void cefvemo_set_window_info_parent(void* info, void* slot, void* client, void* parent,
                                               int32_t x, int32_t y, int32_t w, int32_t h) {
  record("set_window_info_parent", info, slot, client, parent, int64_t{x}, int64_t{y},
         int64_t{w}, int64_t{h});
}
ZV_STANDIN void cefvemo_resized(void* b, int32_t w, int32_t h) {
  record("resized", b, int64_t{w}, int64_t{h});
}
ZV_STANDIN void cefvemo_close_browser(void* b, int32_t force) {
  record("close_browser", b, int64_t{force});
}
ZV_STANDIN void cefvemo_set_focus(void* b, uint8_t focus) { record("set_focus", b, int64_t{focus}); }
ZV_STANDIN int32_t cefvemo_ref(void* b, int32_t add) { return record("ref", b, int64_t{add}), -7; }
ZV_STANDIN void cefvemo_free(void* b) { record("free", b); }
ZV_STANDIN int32_t cefvemo_get_id(void* b) { return record("get_id", b), -3; }
ZV_STANDIN int32_t cefvemo_is_same(void* b, void* o) { return record("is_same", b, o), 0x10001; }
ZV_STANDIN int32_t cefvemo_is_main_frame(void* f) { return record("is_main_frame", f), 2; }
ZV_STANDIN void cefvemo_load_url(void* b, const char* url, const void* post, uint64_t length,
                                 const char* headers, uint64_t count) {
  record("load_url", b), text(url), bytes(post, length);
  args(static_cast<int64_t>(length)), text(headers), arg(static_cast<int64_t>(count));
}
ZV_STANDIN void cefvemo_stop(void* b) { record("stop", b); }
ZV_STANDIN void cefvemo_reload(void* b) { record("reload", b); }
ZV_STANDIN void cefvemo_go_back(void* b) { record("go_back", b); }
ZV_STANDIN void cefvemo_go_forward(void* b) { record("go_forward", b); }
ZV_STANDIN void* cefvemo_get_url(void* b) { return record("get_url", b), user_free(b); }
ZV_STANDIN void cefvemo_get_text(void* b, void* visitor) { record("get_text", b, visitor); }
ZV_STANDIN void* cefvemo_request_to_java(void* r) { return record("request_to_java", r), user_free(r); }
ZV_STANDIN void cefvemo_execute(void* b, const char* script) { record("execute", b), text(script); }
// The int results come from the port or id argument, so that a test chooses
// the bytes a boolean is made of.
ZV_STANDIN int32_t cefvemo_eval(void* b, const char* script, int32_t port, void* callback) {
  record("eval", b), text(script), arg(int64_t{port}), arg(callback);
  return port;
}
ZV_STANDIN int32_t cefvemo_function(void* b, const char* name, int32_t id) {
  record("function", b), text(name), arg(int64_t{id});
  return id;
}
ZV_STANDIN void cefvemo_function_id(void* message, FunctionRecord* r) {
  record("function_id", message, r ? 1 : 0);
  if (r) *r = {7, -2, 0x100000005ull};
}
ZV_STANDIN int32_t cefvemo_function_arg(void* message, int32_t index, void* callback) {
  return record("function_arg", message, int64_t{index}, callback), 1;
}
ZV_STANDIN int32_t cefvemo_function_return(void* b, int32_t unused, int32_t port, int32_t kind,
                                           const char* value) {
  record("function_return", b, int64_t{unused}, int64_t{port}, int64_t{kind}), text(value);
  return kind;
}
ZV_STANDIN int32_t cefvemo_set_cookie(const char* url, const char* name, const char* value,
                                      const char* domain, const char* path, int32_t secure,
                                      int32_t httponly, double expires) {
  record("set_cookie"), text(url), text(name), text(value), text(domain), text(path);
  args(int64_t{secure}, int64_t{httponly}, expires);
  return secure;
}
ZV_STANDIN int32_t cefvemo_get_cookie(const char* url, void* visitor) {
  record("get_cookie"), text(url), arg(visitor);
  return 0x100;
}
ZV_STANDIN void cefvemo_delete_cookies() { record("delete_cookies"); }
ZV_STANDIN void* cefvemo_cookie_value(void* c) { return record("cookie_value", c), user_free(c); }
ZV_STANDIN void* cefvemo_cookie_to_java(void* c) { return record("cookie_to_java", c), user_free(c); }
ZV_STANDIN void* cefvemo_cefstring_to_java(void* s) {
  return record("cefstring_to_java", s), user_free(s);
}
ZV_STANDIN void cefvemo_cef_string_free(UserFree8* s) {
  record("cef_string_free", s);
  if (s && s->dtor) s->dtor(s->str);
  delete s;
}
ZV_STANDIN void cefvemo_download_callback(void* callback, const char* path, int32_t cont) {
  record("download_callback", callback), text(path), arg(int64_t{cont});
}
// Records the fields it was given and changes only the status.
ZV_STANDIN void cefvemo_download_item(void* item, DownloadRecord* r) {
  record("download_item", item, r ? 1 : 0);
  if (!r) return;
  args(int64_t{r->id}, int64_t{r->status}, int64_t{r->file}, int64_t{r->url}, int64_t{r->received},
       int64_t{r->total}, int64_t{r->speed},
         int64_t{r->percent});
  r->status = 2;
}
ZV_STANDIN void cefvemo_dialog_close(void* callback, int32_t success, void* input) {
  record("dialog_close", callback, int64_t{success}, input);
}
ZV_STANDIN void cefvemo_context_menu_cancel(void* callback) { record("context_menu_cancel", callback); }
ZV_STANDIN void cefvemo_auth_callback(void* callback, const char* user, const char* password,
                                      int32_t cont) {
  record("auth_callback", callback), text(user), text(password), arg(int64_t{cont});
}
ZV_STANDIN int32_t cefvemo_handlekey(void* b, void* event) {
  return record("handlekey", b, event), -9;
}

// The calls recorded since the last take, one per line; the record is
// emptied. ASCII only.
ZV_STANDIN jstring JNICALL Java_org_tessal_vemo_internal_zorvan_lib_standin_StandIn_take(JNIEnv* env,
                                                                                    jclass) {
  jstring result = env->NewStringUTF(calls.c_str());
  calls.clear();
  return result;
}
