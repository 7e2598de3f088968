// The environment-variable publisher.
#include "publish/environ_publisher.h"

#include "base/error.h"
#include "publish/batch_line.h"
#include "publish/line_appender.h"

namespace tavo {

bool EnvironPublisher::SetEnvironVar(std::u16string_view VariableName,
                                     std::u16string_view VariableValue, bool systemwide) {
  services_.environment.set(VariableName, VariableValue);
  if (services_.system.platform_id() != platform::kPlatformWin32Nt) {
    return append_startup_line(VariableName, VariableValue);
  }
  const bool written = systemwide ? SetRegString(platform::kLocalMachine, kMachineEnvironmentKey,
                                                 VariableName, VariableValue)
                                  : SetRegString(platform::kCurrentUser, kUserEnvironmentKey,
                                                 VariableName, VariableValue);
  if (!written) return false;
  BroadcastEnvironChange(u"Environment", kBroadcastTimeoutMs);
  return true;
}

bool EnvironPublisher::SetRegString(std::uint32_t root, std::u16string_view key_path,
                                    std::u16string_view value_name, std::u16string_view value) {
  if (key_path.size() > 1 && key_path.front() == u'\\') key_path.remove_prefix(1);
  platform::Registry::Key key = 0;
  bool written = false;
  if (services_.registry.create_key(root, key_path, key) == 0) {
    written = services_.registry.set_string(key, value_name, value) == 0;
  }
  services_.registry.close_key(key);  // also when no key was opened; that fails harmlessly
  return written;
}

void EnvironPublisher::BroadcastEnvironChange(std::u16string_view section,
                                              std::int32_t timeout_ms) {
  services_.messages.broadcast_setting_change(section, timeout_ms);
}

// Each statement that fails is skipped; any failure makes the result false.
bool EnvironPublisher::append_startup_line(std::u16string_view name, std::u16string_view value) {
  // COMMAND.COM reads the file in the console's code page, and could not set exactly a value
  // that its line cannot carry or that code page cannot hold; the file is not touched then.
  const auto line = autoexec_set_line(name, value);
  if (!line) return false;
  bool encodable = false;
  attempt([&] { encodable = services_.files.encode(*line, platform::Encoding::oem).has_value(); });
  if (!encodable) return false;
  return append_lines(services_.files, kStartupFile, platform::Encoding::oem, {*line});
}

}  // namespace tavo
