#include "callback/callback_state.h"

namespace callback {

constinit CallbackState callback_state{};

}  // namespace callback
