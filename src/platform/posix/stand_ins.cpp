// The POSIX stand-ins: environment, system, registry file, files and programs.
#include "platform/posix/stand_ins.h"

#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
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

// Lines of the registry file other than the one for (root, path, name).
std::vector<std::string> other_lines(const std::string& file, const std::string& prefix) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    const bool same = line.size() >= prefix.size() &&
                      same_ignoring_case(std::string_view(line).substr(0, prefix.size()), prefix);
    if (!same && !line.empty()) lines.push_back(line);
  }
  return lines;
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

// The system's temporary folder, which stands in for "c:\temp".
std::string temporary_folder() {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string folder = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
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

class PosixTextFile final : public TextFile {
 public:
  PosixTextFile(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}
  ~PosixTextFile() override {
    if (file_ != nullptr) std::fclose(file_);
  }
  PosixTextFile(const PosixTextFile&) = delete;
  PosixTextFile& operator=(const PosixTextFile&) = delete;

  void write(std::u16string_view text) override {
    if (file_ == nullptr) throw Error(path_ + " is closed");
    const std::optional<std::string> encoded = to_utf8_exact(text);
    if (!encoded) throw Error("the text for " + path_ + " is no valid UTF-16");
    const std::string& bytes = *encoded;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
      throw Error("cannot write " + path_ + ": " + reason());
    }
  }
  void close() override {
    if (file_ == nullptr) throw Error(path_ + " is closed");
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) throw Error("cannot write " + path_ + ": " + reason());
  }

 private:
  std::FILE* file_;
  std::string path_;
};

}  // namespace

std::string to_posix_path(std::u16string_view path) {
  constexpr std::u16string_view kTemp = u"c:\\temp";
  std::string out;
  if (path.size() >= kTemp.size() &&
      same_ignoring_case(to_utf8(path.substr(0, kTemp.size())), to_utf8(kTemp)) &&
      (path.size() == kTemp.size() || path[kTemp.size()] == u'\\')) {
    out = temporary_folder();
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
    return from_utf8(temporary_folder());
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
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && *config != '\0') return std::string(config) + "/tavo/registry";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : ".") + "/.config/tavo/registry";
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
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
  const std::string prefix = std::string(root_name(open->second.first)) + '\t' +
                             escape_field(to_utf8(open->second.second)) + '\t' +
                             escape_field(to_utf8(name)) + '\t';
  std::vector<std::string> lines = other_lines(file, prefix);
  lines.push_back(prefix + escape_field(to_utf8(value)));
  const std::string temporary = file + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << '\n';
    out.flush();
    if (!out) return kAccessDenied;
  }
  if (std::rename(temporary.c_str(), file.c_str()) != 0) return kAccessDenied;
  return 0;
}

long FileRegistry::close_key(Key key) {
  return open_keys_.erase(key) == 1 ? 0 : kInvalidHandle;
}

void PosixFileSystem::remove(std::u16string_view path) {
  const std::string target = to_posix_path(path);
  if (std::remove(target.c_str()) != 0) throw Error("cannot delete " + target + ": " + reason());
}

std::unique_ptr<TextFile> PosixFileSystem::open_append(std::u16string_view path) {
  const std::string target = to_posix_path(path);
  std::FILE* file = std::fopen(target.c_str(), "ab");
  if (file == nullptr) throw Error("cannot open " + target + ": " + reason());
  return std::make_unique<PosixTextFile>(file, target);
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
  std::FILE* file = std::fopen(target.c_str(), "wb");
  if (file == nullptr) throw Error("cannot open " + target + ": " + reason());
  return std::make_unique<PosixTextFile>(file, target);
}

std::u16string PosixFileSystem::decode(std::string_view bytes) const {
  return from_utf8(bytes);
}

std::optional<std::string> PosixFileSystem::encode(std::u16string_view text) const {
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

bool PosixSystem::vector_instructions() const {
#if defined(__x86_64__) || defined(__i386__)
  return __builtin_cpu_supports("sse2");  // Linux saves the registers of what it reports
#else
  return false;
#endif
}

}  // namespace tavo::platform::posix
