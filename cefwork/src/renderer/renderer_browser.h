// The renderer's view of a browser and its main frame: identity, the
// current document and its JavaScript context, and the way back to the
// browser process.
#pragma once

#include <JavaScriptCore/JavaScript.h>

#include <memory>
#include <string>

#include "cef_object.h"
#include "ref.h"

namespace cefwork {

class RendererProcess;
class RendererFrame;

class RendererBrowser : public CefObject<RendererBrowser, cef_browser_t> {
 public:
  RendererBrowser(int id, RendererProcess* process);
  ~RendererBrowser();

  const int id;
  RendererProcess* const process;
  Ref<cef_frame_t> frame;
  std::string url;
  Ref<cef_v8context_t> context;  // of the current document, or null
  JSObjectRef document_events = nullptr;  // its event dispatcher, protected
  bool destroyed = false;
};

class RendererFrame : public CefObject<RendererFrame, cef_frame_t> {
 public:
  explicit RendererFrame(RendererBrowser* browser);
  RendererBrowser* browser;  // the browser owns the frame; cleared when it goes
};

}  // namespace cefwork
