// Script values to (text, kind) pairs and back.
//
// v8value_to_return borrows the value (and the optional context, entered
// around the walk of an array). A value whose text would be larger than
// 256 MiB is not convertible (kind Error, "51"). return_to_v8value returns a new value whose
// reference the caller owns, or an error text: the text itself for kinds
// above Array, or the reason the text could not be read ("cannot parse
// f64", "cannot parse i32", "not quoted", "elem not quoted", "elem has no
// value", "invalid elem type", "failed to set v8array index"). Any failure
// inside an element, an array nested deeper than kMaxArrayDepth included,
// is "invalid elem type". It needs a current V8 context ("no V8 context").
#pragma once

#include <string>
#include <string_view>

#include "cef/cef_capi.h"
#include "socket/return_type.h"
#include "app/cef_ref.h"

struct ReturnText {
  std::string text;
  ReturnType kind = ReturnType::Null;
};

ReturnText v8value_to_return(cef_v8value_t* value, cef_v8context_t* context = nullptr);

struct MadeValue {
  CefRef<cef_v8value_t> value;  // set on success
  std::string error;                   // set otherwise
};

MadeValue return_to_v8value(ReturnType kind, std::string_view text);
