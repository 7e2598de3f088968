// The system clipboard, plain text only.
#pragma once

#include <string_view>

namespace tavo::platform {

// Both operations throw tavo::Error when the clipboard cannot be opened or written (for
// instance while another program holds it open).
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Removes every format from the clipboard.
  virtual void clear() = 0;
  // Puts `text` on the clipboard as plain text; the clipboard is not cleared first.
  virtual void set_text(std::u16string_view text) = 0;
};

}  // namespace tavo::platform
