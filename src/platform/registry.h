// The registry: string values under keys, created when missing.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace tavo::platform {

inline constexpr std::uint32_t kCurrentUser = 0x80000001;   // HKEY_CURRENT_USER
inline constexpr std::uint32_t kLocalMachine = 0x80000002;  // HKEY_LOCAL_MACHINE

// Every operation returns the system's status code: 0 on success.
class Registry {
 public:
  // An open key; 0 is no key.
  using Key = std::uintptr_t;

  virtual ~Registry() = default;
  // Creates or opens `path` under `root` for creating subkeys and setting values.
  virtual long create_key(std::uint32_t root, std::u16string_view path, Key& key) = 0;
  // Writes `value` as a zero-terminated string value (REG_SZ) named `name`.
  virtual long set_string(Key key, std::u16string_view name, std::u16string_view value) = 0;
  // Closing key 0 fails harmlessly.
  virtual long close_key(Key key) = 0;
};

// The user's registry: Windows' own, or a file that stands in for it.
std::unique_ptr<Registry> make_registry();

}  // namespace tavo::platform
