// Payloads of messages between the browser process and a renderer: plain
// little-endian integers and length-prefixed byte strings, read back in the
// order they were written.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace cefwork::ipc {

class Writer {
 public:
  Writer& u32(uint32_t v) { return raw(&v, sizeof v); }
  Writer& i32(int32_t v) { return raw(&v, sizeof v); }
  Writer& i64(int64_t v) { return raw(&v, sizeof v); }
  Writer& f64(double v) { return raw(&v, sizeof v); }
  Writer& bytes(std::string_view s) {
    u32(static_cast<uint32_t>(s.size()));
    data_.append(s);
    return *this;
  }
  Writer& u16(std::u16string_view s) {
    u32(static_cast<uint32_t>(s.size()));
    data_.append(reinterpret_cast<const char*>(s.data()), s.size() * sizeof(char16_t));
    return *this;
  }
  const std::string& data() const { return data_; }
  std::string take() { return std::move(data_); }

 private:
  Writer& raw(const void* p, size_t n) {
    data_.append(static_cast<const char*>(p), n);
    return *this;
  }
  std::string data_;
};

// Reads what a Writer wrote; past the end every read yields 0 or empty and
// ok() turns false, so a short payload can never be read beyond.
class Reader {
 public:
  explicit Reader(std::string_view data) : data_(data) {}
  uint32_t u32() { return fixed<uint32_t>(); }
  int32_t i32() { return fixed<int32_t>(); }
  int64_t i64() { return fixed<int64_t>(); }
  double f64() { return fixed<double>(); }
  std::string bytes() {
    const uint32_t n = u32();
    if (!take(n)) return {};
    std::string s(data_.substr(pos_ - n, n));
    return s;
  }
  std::u16string u16() {
    const uint32_t n = u32();
    if (!take(static_cast<size_t>(n) * sizeof(char16_t))) return {};
    std::u16string s(n, u'\0');
    std::memcpy(s.data(), data_.data() + pos_ - n * sizeof(char16_t), n * sizeof(char16_t));
    return s;
  }
  bool ok() const { return ok_; }

 private:
  template <class T>
  T fixed() {
    T v{};
    if (take(sizeof v)) std::memcpy(&v, data_.data() + pos_ - sizeof v, sizeof v);
    return v;
  }
  bool take(size_t n) {
    if (!ok_ || data_.size() - pos_ < n) return ok_ = false;
    pos_ += n;
    return true;
  }
  std::string_view data_;
  size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace cefwork::ipc
