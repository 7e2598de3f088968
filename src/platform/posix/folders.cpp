// Where the Windows places are on this system.
#include "platform/posix/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

#include "base/error.h"

#include "platform/posix/utf.h"

namespace tavo::platform::posix {

std::optional<std::string> absolute_folder(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value != '/') return std::nullopt;
  std::string folder = value;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::optional<std::string> home_folder() {
  if (auto home = absolute_folder("HOME")) return home;
  const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  int failure = 0;
  while ((failure = getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
         buffer.size() < (std::size_t{1} << 20)) {
    buffer.resize(buffer.size() * 2);
  }
  if (failure != 0 || found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') {
    return std::nullopt;
  }
  std::string home = found->pw_dir;
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  return home;
}

std::string user_folder(const char* variable, std::string_view under_home) {
  if (auto folder = absolute_folder(variable)) return *folder;
  if (auto home = home_folder()) return *home + std::string(under_home);
  static bool reported = false;
  if (!reported) {
    reported = true;
    std::fprintf(stderr,
                 "tavo: no home folder: HOME is unset or relative, and the password database "
                 "has none for this user; what tavo keeps there is not kept\n");
  }
  throw Error(std::string("no home folder, and ") + variable + " is unset");
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
  const std::string folder = user_folder("XDG_STATE_HOME", "/.local/state") + "/tavo";
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
