// The result publication: every conversion is published in four places before it returns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/services.h"
#include "publish/environ_publisher.h"

namespace tavo {

inline constexpr std::u16string_view kScriptName = u"\\wmac.cmd";

// Reads "temp", converts `wert` in mode `start`, then publishes the result: the clipboard
// (cleared, then the text), TAVO through `publisher` (user scope), the command script
// temp + "\wmac.cmd" (deleted, written with its two lines and started minimized) and a line on
// the window. A step that fails is skipped and the next one runs; nothing is reported and the
// converted text is always returned. A text that no batch line can carry, or that the files'
// encoding cannot hold, gets no script: the old one is deleted and nothing is written or
// started. A script that cannot be written whole is deleted again and not started. When "temp"
// cannot be read at all (an unset one reads as empty), the script's steps are all skipped.
std::u16string convert_and_publish(const platform::Services& services, EnvironPublisher& publisher,
                                   std::u16string_view wert, std::int16_t start);

}  // namespace tavo
