// The records that natives fill from or copy back to Java objects, field by
// field: the function-call record (FunctionSt) here, the download record
// with the continuation natives.
#pragma once

#include "mirrors/layout.h"

namespace natives {

extern mirrors::Layout function_st_layout;

}  // namespace natives
