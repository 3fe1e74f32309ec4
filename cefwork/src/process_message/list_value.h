// cef_list_value_t held in memory: a vector of entries, each null, a bool,
// an int, a double, a UTF-16 string or a nested list.
//
// To walk or fill a list from C++ inside the work-alike (to serialise a
// process message across processes, say):
//
//   const auto& entries = cefwork::ListValue::from(list)->entries();
//   for (const cefwork::ListValue::Entry& entry : entries)
//     std::visit(..., entry);   // Null, bool, int, double, std::u16string, Child
//
// and ListValue::create() + entries_mut() to build one. A Child holds one
// reference to the nested list; get_list hands out that same list, so
// changes through it show in the parent, as in CEF. Binary, dictionary and
// cef_value_t entries are not supported: their setters take over the
// argument's reference, drop it and answer 0.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "cef_object.h"

namespace cefwork {

class ListValue : public CefObject<ListValue, cef_list_value_t> {
 public:
  struct Null {
    bool operator==(const Null&) const = default;
  };
  // One reference to a nested list, copied by adding a reference.
  class Child {
   public:
    explicit Child(ListValue* adopted) : list_(adopted) {}
    Child(const Child& other) : list_(other.list_) { list_->add_ref(); }
    Child& operator=(const Child& other);
    ~Child() { list_->release(); }
    ListValue* get() const { return list_; }
    bool operator==(const Child& other) const;  // same contents

   private:
    ListValue* list_;
  };
  using Entry = std::variant<Null, bool, int, double, std::u16string, Child>;

  // A new empty list with one reference for the caller.
  static ListValue* create();

  const std::vector<Entry>& entries() const { return entries_; }
  std::vector<Entry>& entries_mut() { return entries_; }
  // A new list with a deep copy of the entries.
  ListValue* deep_copy() const;

  static int live_count();

 private:
  friend class CefObject<ListValue, cef_list_value_t>;
  friend struct ListValueMembers;
  ListValue();
  ~ListValue();

  std::vector<Entry> entries_;
};

}  // namespace cefwork
