// The one engine function of the test programs' libcef.dll that is not the
// work-alike's own string and process-message code: the shared code's suites
// run without an engine, so a unit of message-loop work has nothing to do.

#include "cef/cef_capi.h"

extern "C" CEF_EXPORT void cef_do_message_loop_work(void) {}
