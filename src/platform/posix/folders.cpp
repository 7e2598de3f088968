// Where the Windows places are on this system.
#include "platform/posix/folders.h"

#include <sys/stat.h>

#include <cstdlib>
#include <set>

#include "platform/posix/utf.h"

namespace tavo::platform::posix {

std::string folder_from(const char* name, const std::string& otherwise) {
  const char* value = std::getenv(name);
  std::string folder = value != nullptr && *value == '/' ? value : otherwise;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string home_folder() {
  return folder_from("HOME", ".");
}

void make_private_folder(const std::string& folder) {
  static std::set<std::string> made;
  if (!made.insert(folder).second) return;
  for (std::size_t at = 1; at <= folder.size(); ++at) {
    if (at == folder.size() || folder[at] == '/') {
      ::mkdir(folder.substr(0, at).c_str(), 0700);
    }
  }
}

std::string state_folder() {
  const std::string folder =
      folder_from("XDG_STATE_HOME", home_folder() + "/.local/state") + "/tavo";
  make_private_folder(folder);
  return folder;
}

std::string to_posix_path(std::u16string_view path) {
  constexpr std::u16string_view kTemp = u"c:\\temp";
  std::string out;
  if (path.size() >= kTemp.size() &&
      same_ignoring_case(to_utf8(path.substr(0, kTemp.size())), to_utf8(kTemp)) &&
      (path.size() == kTemp.size() || path[kTemp.size()] == u'\\')) {
    out = state_folder();
    path.remove_prefix(kTemp.size());
  } else if (path.size() >= 2 && path[1] == u':' &&
             ((path[0] >= u'a' && path[0] <= u'z') || (path[0] >= u'A' && path[0] <= u'Z'))) {
    path.remove_prefix(2);
  }
  out += to_utf8(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

}  // namespace tavo::platform::posix
