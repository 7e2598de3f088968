// The clipboard stand-in of the Linux build: the desktop session's clipboard, through its tool.
#pragma once

#include "platform/clipboard.h"

namespace tavo::platform::posix {

// Uses wl-copy where WAYLAND_DISPLAY is set and it is installed, else xclip where DISPLAY is set
// and it is installed; when that tool fails, both operations throw tavo::Error. Without a desktop
// session, or without a tool for it, there is no clipboard to share: both operations then do
// nothing and succeed, so a conversion or a lookup still runs to its end.
class DesktopClipboard final : public Clipboard {
 public:
  void clear() override;
  void set_text(std::u16string_view text) override;
};

}  // namespace tavo::platform::posix
