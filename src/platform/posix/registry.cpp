// The registry of the Linux build, kept in a text file.
#include "platform/registry.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <utility>

#include "base/error.h"
#include "platform/posix/files.h"
#include "platform/posix/folders.h"
#include "platform/posix/utf.h"

namespace tavo::platform::posix {

namespace {

constexpr long kInvalidHandle = 6;  // ERROR_INVALID_HANDLE
constexpr long kAccessDenied = 5;   // ERROR_ACCESS_DENIED
constexpr long kPathNotFound = 3;   // ERROR_PATH_NOT_FOUND

const char* root_name(std::uint32_t root) {
  return root == kCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string escape_field(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

// The registry file's text with the line for (root, path, name) left out; the file's whole text
// in `old`.
std::string other_lines(const std::string& file, const std::string& prefix, std::string& old) {
  std::ifstream in(file, std::ios::binary);
  old.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::string kept;
  std::istringstream lines(old);
  std::string line;
  while (std::getline(lines, line)) {
    const bool same = line.size() >= prefix.size() &&
                      same_ignoring_case(std::string_view(line).substr(0, prefix.size()), prefix);
    if (!same && !line.empty()) kept += line + '\n';
  }
  return kept;
}

// One value a line:
//   ROOT <tab> KEY PATH <tab> VALUE NAME <tab> VALUE
// with ROOT as HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE and tab, line feed, carriage return and
// backslash written as \t \n \r \\. Keys and names match without regard to case. The file is
// $XDG_CONFIG_HOME/tavo/registry, or ~/.config/tavo/registry (ERROR_PATH_NOT_FOUND without a
// home folder); it is rewritten whole through a temporary file and a rename, so a reader never
// sees half of it.
class FileRegistry final : public Registry {
 public:
  long create_key(std::uint32_t root, std::u16string_view path, Key& key) override;
  long set_string(Key key, std::u16string_view name, std::u16string_view value) override;
  long close_key(Key key) override;

 private:
  std::map<Key, std::pair<std::uint32_t, std::u16string>> open_keys_;
  Key next_key_ = 1;
};

long FileRegistry::create_key(std::uint32_t root, std::u16string_view path, Key& key) {
  key = 0;
  if (root != kCurrentUser && root != kLocalMachine) return kInvalidHandle;
  key = next_key_++;
  open_keys_[key] = {root, std::u16string(path)};
  return 0;
}

long FileRegistry::set_string(Key key, std::u16string_view name, std::u16string_view value) {
  const auto open = open_keys_.find(key);
  if (open == open_keys_.end()) return kInvalidHandle;
  std::string file;
  try {
    file = user_folder("XDG_CONFIG_HOME", "/.config") + "/tavo/registry";
  } catch (const Error&) {
    return kPathNotFound;  // there is no home folder to keep the file in
  }
  make_private_folder(file.substr(0, file.rfind('/')));
  const std::string prefix = std::string(root_name(open->second.first)) + '\t' +
                             escape_field(to_utf8(open->second.second)) + '\t' +
                             escape_field(to_utf8(name)) + '\t';
  std::string old;
  const std::string content =
      other_lines(file, prefix, old) + prefix + escape_field(to_utf8(value)) + '\n';
  // A file that already says this is left alone: a lookup sets the same value once a match.
  if (content == old) return 0;
  // A new file of a name no one else chose (mkstemp: O_EXCL, 0600), renamed over the old one.
  std::string temporary = file + ".XXXXXX";
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) return kAccessDenied;
  const bool written = write_all(descriptor, content);
  if (::close(descriptor) != 0 || !written || std::rename(temporary.c_str(), file.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return kAccessDenied;
  }
  return 0;
}

long FileRegistry::close_key(Key key) {
  return open_keys_.erase(key) == 1 ? 0 : kInvalidHandle;
}

}  // namespace

}  // namespace tavo::platform::posix

auto tavo::platform::make_registry() -> std::unique_ptr<Registry> {
  return std::make_unique<posix::FileRegistry>();
}
