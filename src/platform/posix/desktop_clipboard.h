// The clipboard stand-in of the Linux build: the desktop session's clipboard, through its tool.
#pragma once

#include "platform/clipboard.h"

namespace tavo::platform::posix {

// Uses wl-copy on Wayland (WAYLAND_DISPLAY set) and xclip on X11 (DISPLAY set). Without a
// desktop session, or when the tool is missing or fails, both operations throw tavo::Error.
class DesktopClipboard final : public Clipboard {
 public:
  void clear() override;
  void set_text(std::u16string_view text) override;
};

}  // namespace tavo::platform::posix
