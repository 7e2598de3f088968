// The clipboard stand-in of the Linux build: the desktop session's clipboard, through its tool.
#pragma once

#include "platform/clipboard.h"

namespace tavo::platform::posix {

// Uses wl-copy on Wayland (WAYLAND_DISPLAY set) and xclip on X11 (DISPLAY set); when the tool
// is missing or fails, both operations throw tavo::Error. A machine without a desktop session
// has no clipboard to share: both operations then do nothing and succeed, so a server can still
// run the lookup.
class DesktopClipboard final : public Clipboard {
 public:
  void clear() override;
  void set_text(std::u16string_view text) override;
};

}  // namespace tavo::platform::posix
