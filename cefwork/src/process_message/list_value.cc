#include "process_message/list_value.h"

#include <atomic>

#include "string_util.h"

namespace cefwork {
namespace {

std::atomic<int> live_lists{0};

}  // namespace

ListValue::Child& ListValue::Child::operator=(const Child& other) {
  if (this != &other) {
    other.list_->add_ref();
    list_->release();
    list_ = other.list_;
  }
  return *this;
}

bool ListValue::Child::operator==(const Child& other) const {
  return list_->entries() == other.list_->entries();
}

struct ListValueMembers {
  static ListValue* of(cef_list_value_t* self) { return ListValue::from(self); }
  static const ListValue::Entry* at(cef_list_value_t* self, size_t index) {
    const auto& entries = of(self)->entries_;
    return index < entries.size() ? &entries[index] : nullptr;
  }
  // The entry at `index`, growing the list with nulls when it is too short.
  static ListValue::Entry& slot(cef_list_value_t* self, size_t index) {
    auto& entries = of(self)->entries_;
    if (index >= entries.size()) entries.resize(index + 1, ListValue::Null{});
    return entries[index];
  }
  template <class T>
  static int set(cef_list_value_t* self, size_t index, T value) {
    slot(self, index) = std::move(value);
    return 1;
  }
  // For entry kinds we do not hold: the argument's reference is dropped.
  static int refuse(const void* argument) {
    cefwork::release(argument);
    return 0;
  }

  static int CEF_CALLBACK is_valid(cef_list_value_t*) { return 1; }
  static int CEF_CALLBACK is_owned(cef_list_value_t*) { return 0; }
  static int CEF_CALLBACK is_read_only(cef_list_value_t*) { return 0; }
  static int CEF_CALLBACK is_same(cef_list_value_t* self, cef_list_value_t* that) {
    const bool same = that == self;
    cefwork::release(that);
    return same;
  }
  static int CEF_CALLBACK is_equal(cef_list_value_t* self, cef_list_value_t* that) {
    const bool equal = that && of(self)->entries_ == of(that)->entries_;
    cefwork::release(that);
    return equal;
  }
  static cef_list_value_t* CEF_CALLBACK copy(cef_list_value_t* self) { return &of(self)->deep_copy()->cef; }
  static int CEF_CALLBACK set_size(cef_list_value_t* self, size_t size) {
    of(self)->entries_.resize(size, ListValue::Null{});
    return 1;
  }
  static size_t CEF_CALLBACK get_size(cef_list_value_t* self) { return of(self)->entries_.size(); }
  static int CEF_CALLBACK clear(cef_list_value_t* self) {
    of(self)->entries_.clear();
    return 1;
  }
  static int CEF_CALLBACK remove(cef_list_value_t* self, size_t index) {
    auto& entries = of(self)->entries_;
    if (index >= entries.size()) return 0;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
    return 1;
  }
  static cef_value_type_t CEF_CALLBACK get_type(cef_list_value_t* self, size_t index) {
    static constexpr cef_value_type_t kTypes[] = {VTYPE_NULL,   VTYPE_BOOL,   VTYPE_INT,
                                                  VTYPE_DOUBLE, VTYPE_STRING, VTYPE_LIST};
    const ListValue::Entry* entry = at(self, index);
    return entry ? kTypes[entry->index()] : VTYPE_INVALID;
  }
  static cef_value_t* CEF_CALLBACK get_value(cef_list_value_t*, size_t) { return nullptr; }
  static int CEF_CALLBACK get_bool(cef_list_value_t* self, size_t index) {
    const ListValue::Entry* entry = at(self, index);
    return entry && std::holds_alternative<bool>(*entry) && std::get<bool>(*entry);
  }
  static int CEF_CALLBACK get_int(cef_list_value_t* self, size_t index) {
    const ListValue::Entry* entry = at(self, index);
    return entry && std::holds_alternative<int>(*entry) ? std::get<int>(*entry) : 0;
  }
  static double CEF_CALLBACK get_double(cef_list_value_t* self, size_t index) {
    const ListValue::Entry* entry = at(self, index);
    if (!entry) return 0;
    if (std::holds_alternative<double>(*entry)) return std::get<double>(*entry);
    return std::holds_alternative<int>(*entry) ? std::get<int>(*entry) : 0;
  }
  static cef_string_userfree_t CEF_CALLBACK get_string(cef_list_value_t* self, size_t index) {
    const ListValue::Entry* entry = at(self, index);
    if (!entry || !std::holds_alternative<std::u16string>(*entry)) return nullptr;
    return userfree(std::u16string_view(std::get<std::u16string>(*entry)));
  }
  static cef_binary_value_t* CEF_CALLBACK get_binary(cef_list_value_t*, size_t) { return nullptr; }
  static cef_dictionary_value_t* CEF_CALLBACK get_dictionary(cef_list_value_t*, size_t) { return nullptr; }
  static cef_list_value_t* CEF_CALLBACK get_list(cef_list_value_t* self, size_t index) {
    const ListValue::Entry* entry = at(self, index);
    if (!entry || !std::holds_alternative<ListValue::Child>(*entry)) return nullptr;
    return std::get<ListValue::Child>(*entry).get()->share();
  }
  static int CEF_CALLBACK set_value(cef_list_value_t*, size_t, cef_value_t* value) { return refuse(value); }
  static int CEF_CALLBACK set_null(cef_list_value_t* self, size_t index) { return set(self, index, ListValue::Null{}); }
  static int CEF_CALLBACK set_bool(cef_list_value_t* self, size_t index, int value) {
    return set(self, index, value != 0);
  }
  static int CEF_CALLBACK set_int(cef_list_value_t* self, size_t index, int value) { return set(self, index, value); }
  static int CEF_CALLBACK set_double(cef_list_value_t* self, size_t index, double value) {
    return set(self, index, value);
  }
  static int CEF_CALLBACK set_string(cef_list_value_t* self, size_t index, const cef_string_t* value) {
    return set(self, index, view(value));
  }
  static int CEF_CALLBACK set_binary(cef_list_value_t*, size_t, cef_binary_value_t* value) { return refuse(value); }
  static int CEF_CALLBACK set_dictionary(cef_list_value_t*, size_t, cef_dictionary_value_t* value) {
    return refuse(value);
  }
  static int CEF_CALLBACK set_list(cef_list_value_t* self, size_t index, cef_list_value_t* value) {
    if (!value) return 0;
    if (value == self) return refuse(value);  // a list cannot hold itself
    return set(self, index, ListValue::Child(ListValue::from(value)));
  }

  static void install(cef_list_value_t& cef) {
    cef.is_valid = &is_valid;
    cef.is_owned = &is_owned;
    cef.is_read_only = &is_read_only;
    cef.is_same = &is_same;
    cef.is_equal = &is_equal;
    cef.copy = &copy;
    cef.set_size = &set_size;
    cef.get_size = &get_size;
    cef.clear = &clear;
    cef.remove = &remove;
    cef.get_type = &get_type;
    cef.get_value = &get_value;
    cef.get_bool = &get_bool;
    cef.get_int = &get_int;
    cef.get_double = &get_double;
    cef.get_string = &get_string;
    cef.get_binary = &get_binary;
    cef.get_dictionary = &get_dictionary;
    cef.get_list = &get_list;
    cef.set_value = &set_value;
    cef.set_null = &set_null;
    cef.set_bool = &set_bool;
    cef.set_int = &set_int;
    cef.set_double = &set_double;
    cef.set_string = &set_string;
    cef.set_binary = &set_binary;
    cef.set_dictionary = &set_dictionary;
    cef.set_list = &set_list;
  }
};

ListValue::ListValue() {
  ListValueMembers::install(cef);
  ++live_lists;
}

ListValue::~ListValue() { --live_lists; }

ListValue* ListValue::create() { return new ListValue(); }

ListValue* ListValue::deep_copy() const {
  ListValue* copy = create();
  for (const Entry& entry : entries_) {
    if (const auto* child = std::get_if<Child>(&entry))
      copy->entries_.emplace_back(Child(child->get()->deep_copy()));
    else
      copy->entries_.push_back(entry);
  }
  return copy;
}

int ListValue::live_count() { return live_lists.load(); }

}  // namespace cefwork

extern "C" CEF_EXPORT cef_list_value_t* cef_list_value_create(void) {
  return &cefwork::ListValue::create()->cef;
}
