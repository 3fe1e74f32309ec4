// Our declarations of the CEF C API subset, branch 3809.
#pragma once

#include "cef/cef_functions.h"
#include "cef/cef_structs.h"
#include "cef/cef_types.h"
