// The POSIX stand-ins: environment, system, registry file, files and programs.
#include "platform/posix/stand_ins.h"

#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "base/error.h"
#include "platform/utf.h"

extern char** environ;

namespace tavo::platform::posix {

namespace {

constexpr long kInvalidHandle = 6;  // ERROR_INVALID_HANDLE
constexpr long kAccessDenied = 5;   // ERROR_ACCESS_DENIED

bool same_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string reason() {
  return std::strerror(errno);
}

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

// Raw reads from a descriptor that this owns.
class PosixInputFile final : public InputFile {
 public:
  PosixInputFile(int descriptor, std::string path)
      : descriptor_(descriptor), path_(std::move(path)) {}
  ~PosixInputFile() override { ::close(descriptor_); }
  PosixInputFile(const PosixInputFile&) = delete;
  PosixInputFile& operator=(const PosixInputFile&) = delete;

  std::size_t read(char* buffer, std::size_t size) override {
    for (;;) {
      const ssize_t got = ::read(descriptor_, buffer, size);
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR) throw Error("cannot read " + path_ + ": " + reason());
    }
  }

 private:
  int descriptor_;
  std::string path_;
};

// The value of the variable `name`, without trailing slashes; `otherwise` when it is unset or
// not an absolute path. A relative value is ignored, as the XDG base directory rules say: it
// would name a different folder in every current folder.
std::string folder_from(const char* name, const std::string& otherwise) {
  const char* value = std::getenv(name);
  std::string folder = value != nullptr && *value == '/' ? value : otherwise;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string home_folder() {
  return folder_from("HOME", ".");
}

// Creates `folder` and its missing parents, each with mode 0700; an existing one is left as it
// is. A failure shows when a file in it is opened. Each folder is made once a process: each
// match of a lookup opens files in them.
void make_private_folder(const std::string& folder) {
  static std::set<std::string> made;
  if (!made.insert(folder).second) return;
  for (std::size_t at = 1; at <= folder.size(); ++at) {
    if (at == folder.size() || folder[at] == '/') {
      ::mkdir(folder.substr(0, at).c_str(), 0700);
    }
  }
}

// The user's own folder that stands in for "c:\temp": $XDG_STATE_HOME/tavo, or
// ~/.local/state/tavo, so that the lookup's log survives a reboot and no other user can plant a
// file in it. Made when missing.
std::string state_folder() {
  const std::string folder =
      folder_from("XDG_STATE_HOME", home_folder() + "/.local/state") + "/tavo";
  make_private_folder(folder);
  return folder;
}

// Opens `target` for writing with `flags` and never through a symbolic link; only a plain file
// is kept. A new file is the user's alone (0600).
int open_for_writing(const std::string& target, int flags) {
  const int descriptor =
      ::open(target.c_str(), O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | flags, 0600);
  if (descriptor < 0) throw Error("cannot open " + target + ": " + reason());
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    throw Error("cannot open " + target + ": not a plain file");
  }
  return descriptor;
}

// Writes all of `bytes`; false when the system refuses (errno tells why).
bool write_all(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(descriptor, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Now, written in a format that the locale supplies.
std::u16string local_now(const std::string& format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[256] = {};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const std::size_t length = std::strftime(text, sizeof text, format.c_str(), &local);
#pragma GCC diagnostic pop
  return from_utf8(std::string_view(text, length));
}

// Each write goes straight to the system: a file is written once or twice before it is closed.
class PosixTextFile final : public AppendFile {
 public:
  PosixTextFile(int descriptor, std::string path)
      : descriptor_(descriptor), path_(std::move(path)) {}
  ~PosixTextFile() override {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  PosixTextFile(const PosixTextFile&) = delete;
  PosixTextFile& operator=(const PosixTextFile&) = delete;

  void write(std::u16string_view text) override {
    if (descriptor_ < 0) throw Error(path_ + " is closed");
    const std::optional<std::string> encoded = to_utf8_exact(text);
    if (!encoded) throw Error("the text for " + path_ + " is no valid UTF-16");
    if (!write_all(descriptor_, *encoded)) throw Error("cannot write " + path_ + ": " + reason());
  }
  void close() override {
    if (descriptor_ < 0) throw Error(path_ + " is closed");
    const int closed = ::close(std::exchange(descriptor_, -1));
    if (closed != 0) throw Error("cannot write " + path_ + ": " + reason());
  }
  std::string last_bytes(std::size_t count) override {
    const off_t size = end();
    const std::size_t wanted = std::min(count, static_cast<std::size_t>(size));
    std::string tail(wanted, '\0');
    std::size_t got = 0;
    while (got < wanted) {
      const ssize_t n = ::pread(descriptor_, tail.data() + got, wanted - got,
                                size - static_cast<off_t>(wanted - got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw Error("cannot read " + path_ + ": " + reason());
      got += static_cast<std::size_t>(n);
    }
    return tail;
  }
  void cut_end(std::size_t count) override {
    const off_t size = end();
    if (static_cast<std::size_t>(size) < count ||
        ::ftruncate(descriptor_, size - static_cast<off_t>(count)) != 0) {
      throw Error("cannot cut " + path_ + ": " + reason());
    }
  }

 private:
  off_t end() const {
    if (descriptor_ < 0) throw Error(path_ + " is closed");
    struct stat status {};
    if (fstat(descriptor_, &status) != 0) throw Error("cannot read " + path_ + ": " + reason());
    return status.st_size;
  }

  int descriptor_;
  std::string path_;
};

}  // namespace

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

std::u16string PosixEnvironment::get(std::u16string_view name) const {
  const std::string wanted = to_utf8(name);
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view pair(*entry);
    const std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos && same_ignoring_case(pair.substr(0, equals), wanted)) {
      return from_utf8(pair.substr(equals + 1));
    }
  }
  if (same_ignoring_case(wanted, "temp")) {
    // The script's folder: the user's runtime folder, or the state folder.
    const std::string runtime = folder_from("XDG_RUNTIME_DIR", "");
    return from_utf8(runtime.empty() ? state_folder() : runtime);
  }
  return {};
}

bool PosixEnvironment::set(std::u16string_view name, std::u16string_view value) {
  const std::string key = to_utf8(name);
  if (key.empty() || key.find('=') != std::string::npos || key.find('\0') != std::string::npos) {
    return false;
  }
  return setenv(key.c_str(), to_utf8(value).c_str(), 1) == 0;
}

std::string FileRegistry::file_path() {
  return folder_from("XDG_CONFIG_HOME", home_folder() + "/.config") + "/tavo/registry";
}

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
  const std::string file = file_path();
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

void PosixFileSystem::remove(std::u16string_view path) {
  const std::string target = to_posix_path(path);
  if (std::remove(target.c_str()) != 0) throw Error("cannot delete " + target + ": " + reason());
}

std::unique_ptr<AppendFile> PosixFileSystem::open_append(std::u16string_view path, Encoding) {
  const std::string target = to_posix_path(path);
  return std::make_unique<PosixTextFile>(open_for_writing(target, O_RDWR | O_APPEND), target);
}

std::unique_ptr<InputFile> PosixFileSystem::open_read(std::u16string_view path) {
  const std::string target = to_posix_path(path);
  // Not blocking, so that opening a pipe cannot hang before it is refused below.
  const int descriptor = ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) throw Error("cannot open " + target + ": " + reason());
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    throw Error("cannot open " + target + ": not a plain file");
  }
  return std::make_unique<PosixInputFile>(descriptor, target);
}

std::unique_ptr<TextFile> PosixFileSystem::open_write(std::u16string_view path) {
  const std::string target = to_posix_path(path);
  return std::make_unique<PosixTextFile>(open_for_writing(target, O_WRONLY | O_TRUNC), target);
}

std::u16string PosixFileSystem::decode(std::string_view bytes) const {
  return from_utf8(bytes);
}

std::optional<std::string> PosixFileSystem::encode(std::u16string_view text, Encoding) const {
  return to_utf8_exact(text);
}

std::u16string PosixClock::date() {
  // The locale's date format, with the year always in four digits.
  std::string format = nl_langinfo(D_FMT);
  for (std::size_t at = format.find("%y"); at != std::string::npos; at = format.find("%y", at)) {
    format[at + 1] = 'Y';
  }
  return local_now(format);
}

std::u16string PosixClock::time() {
  return local_now(nl_langinfo(T_FMT));
}

ArgumentList::ArgumentList(int argc, const char* const* argv) {
  std::string joined;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) joined.push_back(' ');
    joined += argv[i];
  }
  text_ = from_utf8(joined);
}

void NoPrograms::start_script(std::u16string_view path, int) {
  throw Error("cannot start " + to_posix_path(path) + ": command scripts run only on Windows");
}

Vectors PosixSystem::vector_instructions() const {
  return processor_vectors();  // Linux saves the registers of every set that it enables
}

}  // namespace tavo::platform::posix
