// The services of tavo.exe other than the window and the clipboard: one class for each
// facility, each made in the source of the facility's name.
#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/command_line.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/programs.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/threads.h"

namespace tavo::platform::win32 {

// Reads with GetEnvironmentVariable in the family's form; sets with SetEnvironmentVariableA.
class Win32Environment final : public ProcessEnvironment {
 public:
  std::u16string get(std::u16string_view name) const override;
  bool set(std::u16string_view name, std::u16string_view value) override;
};

// GetVersionExA on a 148-byte record.
class Win32System final : public SystemInfo {
 public:
  std::uint32_t platform_id() const override;
  // SSE2 where IsProcessorFeaturePresent, which 95 lacks, reports it; AVX2 where, beyond that,
  // the system has enabled the saving of its registers.
  Vectors vector_instructions() const override;
};

// RegCreateKeyExA (access 6), RegSetValueExA (REG_SZ, zero byte counted), RegCloseKey. A text
// outside the ANSI code page gives ERROR_NO_UNICODE_TRANSLATION.
class Win32Registry final : public Registry {
 public:
  long create_key(std::uint32_t root, std::u16string_view path, Key& key) override;
  long set_string(Key key, std::u16string_view name, std::u16string_view value) override;
  long close_key(Key key) override;
};

// SendMessageTimeoutA to HWND_BROADCAST with WM_SETTINGCHANGE and SMTO_ABORTIFHUNG.
class Win32Messages final : public WindowMessages {
 public:
  void broadcast_setting_change(std::u16string_view section, std::int32_t timeout_ms) override;
};

// Files through their own handles; text is in the ANSI or the OEM code page. Only disk files can
// be opened for reading.
class Win32FileSystem final : public FileSystem {
 public:
  void remove(std::u16string_view path) override;
  std::unique_ptr<AppendFile> open_append(std::u16string_view path, Encoding encoding) override;
  std::unique_ptr<InputFile> open_read(std::u16string_view path) override;
  std::unique_ptr<TextFile> open_write(std::u16string_view path) override;
  std::u16string decode(std::string_view bytes) const override;
  std::optional<std::string> encode(std::u16string_view text, Encoding encoding) const override;
  // IsDBCSLeadByteEx on the ANSI code page.
  LeadBytes lead_bytes() const override;
};

// GetDateFormat with DATE_SHORTDATE and GetTimeFormat, for the user's locale, in the characters
// of the ANSI code page as the A functions give them.
class Win32Clock final : public Clock {
 public:
  std::u16string date() override;
  std::u16string time() override;
};

// GetCommandLine, read once, cut as argument_text_of cuts it; on the 9x family decoded from the
// ANSI code page.
class Win32CommandLine final : public CommandLine {
 public:
  Win32CommandLine();
  std::u16string argument_text() const override { return text_; }

 private:
  std::u16string text_;
};

// CreateProcess with the quoted script path as the whole command line; never waits.
class Win32Programs final : public Programs {
 public:
  void start_script(std::u16string_view path, int show) override;
};

// CreateThread, which every Windows has; the C++ library's threads need a runtime that the
// MinGW-w64 of Windows 95 and NT 4.0 does not link in.
class Win32Threads final : public Threads {
 public:
  unsigned processors() const override;
  std::unique_ptr<Thread> start(std::function<void()> work) override;
};

}  // namespace tavo::platform::win32
