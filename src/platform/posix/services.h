// The stand-ins of the Linux build for the Windows facilities other than the window and the
// clipboard: one class for each facility, each made in the source of the facility's name.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "platform/clock.h"
#include "platform/command_line.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/programs.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/threads.h"

namespace tavo::platform::posix {

// Names match without regard to case, as on Windows. Windows always sets "temp"; here an unset
// "temp" reads as the user's runtime folder, $XDG_RUNTIME_DIR, or without it as the state
// folder that stands in for "c:\\temp", and throws tavo::Error when there is neither.
class PosixEnvironment final : public ProcessEnvironment {
 public:
  std::u16string get(std::u16string_view name) const override;
  bool set(std::u16string_view name, std::u16string_view value) override;
};

// Reports the NT family.
class PosixSystem final : public SystemInfo {
 public:
  std::uint32_t platform_id() const override { return kPlatformWin32Nt; }
  Vectors vector_instructions() const override;
};

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

  // Where the values are kept.
  static std::string file_path();

 private:
  std::map<Key, std::pair<std::uint32_t, std::u16string>> open_keys_;
  Key next_key_ = 1;
};

// No other program here listens for setting changes.
class NoBroadcast final : public WindowMessages {
 public:
  void broadcast_setting_change(std::u16string_view section, std::int32_t timeout_ms) override;
};

// Files through the C library; text is UTF-8 in both encodings. Paths are Windows-style, as
// to_posix_path maps them.
class PosixFileSystem final : public FileSystem {
 public:
  void remove(std::u16string_view path) override;
  std::unique_ptr<AppendFile> open_append(std::u16string_view path, Encoding encoding) override;
  std::unique_ptr<InputFile> open_read(std::u16string_view path) override;
  std::unique_ptr<TextFile> open_write(std::u16string_view path) override;
  std::u16string decode(std::string_view bytes) const override;
  std::optional<std::string> encode(std::u16string_view text, Encoding encoding) const override;
  // None: UTF-8 has no two-byte characters of that kind.
  LeadBytes lead_bytes() const override { return {}; }
};

// Writes all of `bytes`; false when the system refuses (errno tells why).
bool write_all(int descriptor, std::string_view bytes);

// The locale's (LC_TIME) date format, its year always in four digits, and its time format.
class PosixClock final : public Clock {
 public:
  std::u16string date() override;
  std::u16string time() override;
};

// The arguments after the program's name, joined by single blanks; UTF-8 is expected.
class ArgumentList final : public CommandLine {
 public:
  ArgumentList(int argc, const char* const* argv);
  std::u16string argument_text() const override { return text_; }

 private:
  std::u16string text_;
};

// Command scripts are Windows batch files: starting one here always fails.
class NoPrograms final : public Programs {
 public:
  void start_script(std::u16string_view path, int show) override;
};

// Threads of the C++ library.
class PosixThreads : public Threads {
 public:
  unsigned processors() const override;
  std::unique_ptr<Thread> start(std::function<void()> work) override;
};

}  // namespace tavo::platform::posix
