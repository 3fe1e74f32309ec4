// Member tables: how the fields of a Java object map onto a native
// structure or record, member by member. The CEF structures' tables are
// generated from jni/mirrors/cef_mirrors.txt; the records' are written out in
// record_layouts.cc. Each table is checked at compile time against the
// declaration it describes.
#pragma once

#include <jni.h>

#include <cstddef>
#include <cstdint>
#include <span>

namespace mirrors {

struct Member {
  const char* name;
  // Java field descriptor: 'I', 'J' or 'C'; 'L' for the base header of a
  // handler table, an object of class cef_base_ref_counted_t.
  char type;
  uint16_t offset;
  // Native width in bytes. An 'I' field may stand for an 8-byte member: the
  // value is sign-extended on its way in and cut to its low 32 bits on its
  // way out.
  uint8_t size;
};

// One table entry for the member `name` of `type`, with its offset and width
// taken from the declaration.
#define ZV_MEMBER(type, java_type, name) \
  ::mirrors::Member{#name, java_type, offsetof(type, name), sizeof(type::name)}

// True when the members cover the structure from its first to its last byte
// in declaration order, without gaps or overlaps, each with a width its Java
// type can carry.
constexpr bool covers(std::span<const Member> members, size_t size) {
  size_t end = 0;
  for (const Member& m : members) {
    if (m.offset != end) return false;
    const bool width_ok = (m.type == 'I' && (m.size == 4 || m.size == 8)) ||
                          (m.type == 'J' && m.size == 8) || (m.type == 'C' && m.size == 2) ||
                          (m.type == 'L' && m.size == 40);
    if (!width_ok) return false;
    end = m.offset + m.size;
  }
  return end == size;
}

}  // namespace mirrors
