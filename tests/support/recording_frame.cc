#include "support/recording_frame.h"

namespace zvtest {

RecordingFrame::RecordingFrame() {
  cef.send_process_message = [](cef_frame_t* self, cef_process_id_t target, cef_process_message_t* message) {
    static_cast<RecordingFrame*>(of(self))->sent.push_back({target, message});
  };
}

RecordingFrame::~RecordingFrame() {
  for (Sent& s : sent) release(s.message);
}

int RecordingFrame::last_port() const {
  if (sent.empty()) return 0;
  cef_process_message_t* message = sent.back().message;
  cef_list_value_t* arguments = message->get_argument_list(message);
  const int port = arguments->get_int(arguments, 0);
  release(arguments);
  return port;
}

}  // namespace zvtest
