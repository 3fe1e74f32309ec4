#include "ipc/process_message_codec.h"

#include "ref.h"
#include "string_util.h"

namespace cefwork::ipc {

void write_process_message(Writer& out, cef_process_message_t* message) {
  cef_string_userfree_t name = message->get_name(message);
  out.u16(view(name));
  cef_string_userfree_utf16_free(name);
  const Ref<cef_list_value_t> args = Ref<cef_list_value_t>::adopt(message->get_argument_list(message));
  const size_t size = args ? args->get_size(args.get()) : 0;
  out.u32(static_cast<uint32_t>(size));
  for (size_t i = 0; i < size; ++i) {
    const cef_value_type_t type = args->get_type(args.get(), i);
    switch (type) {
      case VTYPE_BOOL:
        out.u32(type).i32(args->get_bool(args.get(), i));
        break;
      case VTYPE_INT:
        out.u32(type).i32(args->get_int(args.get(), i));
        break;
      case VTYPE_DOUBLE:
        out.u32(type).f64(args->get_double(args.get(), i));
        break;
      case VTYPE_STRING: {
        cef_string_userfree_t s = args->get_string(args.get(), i);
        out.u32(type).u16(view(s));
        cef_string_userfree_utf16_free(s);
        break;
      }
      default:
        out.u32(VTYPE_NULL);
        break;
    }
  }
}

cef_process_message_t* read_process_message(Reader& in) {
  cef_string_t name{};
  assign(&name, in.u16());
  cef_process_message_t* message = cef_process_message_create(&name);
  cef_string_utf16_clear(&name);
  if (!message) return nullptr;
  const Ref<cef_list_value_t> args = Ref<cef_list_value_t>::adopt(message->get_argument_list(message));
  const uint32_t size = in.u32();
  if (!args || !in.ok() || size > (1u << 20)) {
    cefwork::release(message);
    return nullptr;
  }
  args->set_size(args.get(), size);
  for (uint32_t i = 0; i < size && in.ok(); ++i) {
    switch (in.u32()) {
      case VTYPE_BOOL:
        args->set_bool(args.get(), i, in.i32());
        break;
      case VTYPE_INT:
        args->set_int(args.get(), i, in.i32());
        break;
      case VTYPE_DOUBLE:
        args->set_double(args.get(), i, in.f64());
        break;
      case VTYPE_STRING: {
        cef_string_t s{};
        assign(&s, in.u16());
        args->set_string(args.get(), i, &s);
        cef_string_utf16_clear(&s);
        break;
      }
      default:
        args->set_null(args.get(), i);
        break;
    }
  }
  if (!in.ok()) {
    cefwork::release(message);
    return nullptr;
  }
  return message;
}

}  // namespace cefwork::ipc
