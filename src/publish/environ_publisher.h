// The environment-variable publisher: the process, then the registry and a broadcast on the
// NT family, or a line of the start-up file on the other Windows family.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/services.h"

namespace tavo {

inline constexpr std::u16string_view kUserEnvironmentKey = u"Environment";
inline constexpr std::u16string_view kMachineEnvironmentKey =
    u"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
inline constexpr std::u16string_view kStartupFile = u"c:\\autoexec.bat";
inline constexpr std::int32_t kBroadcastTimeoutMs = 5000;

class EnvironPublisher {
 public:
  explicit EnvironPublisher(const platform::Services& services) : services_(services) {}

  // Sets the variable in this process (always), then persistently: for the machine when
  // `systemwide`, else for the current user. True when the persistent store was written (and,
  // on the NT family, the broadcast sent). Nothing is thrown.
  bool SetEnvironVar(std::u16string_view VariableName, std::u16string_view VariableValue,
                     bool systemwide);

  // Writes one string value under `key_path` of `root`, creating the key when missing; one
  // leading backslash of a longer key path is dropped. True when the value was written.
  bool SetRegString(std::uint32_t root, std::u16string_view key_path,
                    std::u16string_view value_name, std::u16string_view value);

  // Tells every top-level window that `section` changed, waiting at most `timeout_ms` each.
  void BroadcastEnvironChange(std::u16string_view section, std::int32_t timeout_ms);

 private:
  bool append_startup_line(std::u16string_view name, std::u16string_view value);

  const platform::Services& services_;
};

}  // namespace tavo
