#include "natives/records.h"

#include <cstddef>

#include "zorvan_vemo.h"

namespace natives {
namespace {

// The Java int "args" receives the low 32 bits of the native count.
constexpr mirrors::Member kFunctionStMembers[] = {
    ZV_MEMBER(FunctionSt, 'I', id),
    ZV_MEMBER(FunctionSt, 'I', port),
    ZV_MEMBER(FunctionSt, 'I', args),
};
static_assert(mirrors::covers(kFunctionStMembers, sizeof(FunctionSt)));

}  // namespace

constinit mirrors::Layout function_st_layout{sizeof(FunctionSt), kFunctionStMembers};

}  // namespace natives
