// The registry of the Linux build, kept in a text file.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/registry.h"

namespace tavo::platform::posix {

// One value a line:
//   ROOT <tab> KEY PATH <tab> VALUE NAME <tab> VALUE
// with ROOT as HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE and tab, line feed, carriage return and
// backslash written as \t \n \r \\. Keys and names match without regard to case. The file is
// $XDG_CONFIG_HOME/tavo/registry, or ~/.config/tavo/registry; it is rewritten whole through a
// temporary file and a rename, so a reader never sees half of it.
class FileRegistry final : public Registry {
 public:
  long create_key(std::uint32_t root, std::u16string_view path, Key& key) override;
  long set_string(Key key, std::u16string_view name, std::u16string_view value) override;
  long close_key(Key key) override;

  // Where the values are kept.
  static std::string file_path();

 private:
  std::map<Key, std::pair<std::uint32_t, std::u16string>> open_keys_;
  Key next_key_ = 1;
};

}  // namespace tavo::platform::posix
