// A cef_frame_t played by the test, which records every process message
// sent through it (holding the reference that send_process_message passes)
// and releases them when it goes away.
#pragma once

#include <vector>

#include "support/test_object.h"

namespace zvtest {

struct RecordingFrame : TestObject<cef_frame_t> {
  struct Sent {
    cef_process_id_t target;
    cef_process_message_t* message;
  };

  RecordingFrame();
  ~RecordingFrame();

  // Index 0 of the last sent message's arguments: the announced port.
  int last_port() const;

  std::vector<Sent> sent;
};

}  // namespace zvtest
