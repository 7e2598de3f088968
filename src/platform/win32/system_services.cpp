// The Win32 environment, version, registry, broadcast, files and program start.
#include "platform/win32/system_services.h"

#include "base/error.h"

namespace tavo::platform::win32 {

namespace {

std::string narrow_for_message(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

std::string describe(DWORD error) {
  char buffer[256] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, error, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text.empty() ? "error " + std::to_string(error) : text;
}

// Text in one code page through a handle of its own; appending also reads the end and cuts it.
class Win32TextFile final : public AppendFile {
 public:
  Win32TextFile(HANDLE handle, std::string name, Encoding encoding)
      : handle_(handle), name_(std::move(name)), encoding_(encoding) {}
  ~Win32TextFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Win32TextFile(const Win32TextFile&) = delete;
  Win32TextFile& operator=(const Win32TextFile&) = delete;

  void write(std::u16string_view text) override {
    const auto bytes = encode(text, encoding_);
    if (!bytes) throw Error("the text for " + name_ + " does not fit its code page");
    DWORD written = 0;
    if (!WriteFile(open(), bytes->data(), static_cast<DWORD>(bytes->size()), &written, nullptr) ||
        written != bytes->size()) {
      throw failure("cannot write ");
    }
  }
  void close() override {
    const BOOL closed = CloseHandle(open());
    handle_ = INVALID_HANDLE_VALUE;
    if (!closed) throw failure("cannot close ");
  }
  std::string last_bytes(std::size_t count) override {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(open(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) throw failure("cannot read ");
    const std::uint64_t size = (std::uint64_t{high} << 32) | low;
    const DWORD wanted = static_cast<DWORD>(count < size ? count : size);
    std::string tail(wanted, '\0');
    DWORD got = 0;
    if (!from_end(-std::int64_t{wanted}) ||
        !ReadFile(handle_, tail.data(), wanted, &got, nullptr) || !from_end(0)) {
      throw failure("cannot read ");
    }
    tail.resize(got);
    return tail;
  }
  void to_end() {
    if (!from_end(0)) throw failure("cannot open ");
  }
  void cut_end(std::size_t count) override {
    if (!from_end(-static_cast<std::int64_t>(count)) || !SetEndOfFile(handle_)) {
      throw failure("cannot cut ");
    }
  }

 private:
  HANDLE open() const {
    if (handle_ == INVALID_HANDLE_VALUE) throw Error(name_ + " is closed");
    return handle_;
  }
  // Moves to `offset` bytes from the end (back when negative); SetFilePointer, since 95 and NT
  // 4.0 lack SetFilePointerEx.
  bool from_end(std::int64_t offset) {
    LONG high = static_cast<LONG>(offset >> 32);
    SetLastError(NO_ERROR);
    return SetFilePointer(open(), static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_END) !=
               INVALID_SET_FILE_POINTER ||
           GetLastError() == NO_ERROR;
  }
  Error failure(const char* what) const {
    return Error(what + name_ + ": " + describe(GetLastError()));
  }

  HANDLE handle_;
  std::string name_;
  Encoding encoding_;
};

class Win32InputFile final : public InputFile {
 public:
  Win32InputFile(HANDLE handle, std::string name) : handle_(handle), name_(std::move(name)) {}
  ~Win32InputFile() override { CloseHandle(handle_); }
  Win32InputFile(const Win32InputFile&) = delete;
  Win32InputFile& operator=(const Win32InputFile&) = delete;

  std::size_t read(char* buffer, std::size_t size) override {
    DWORD got = 0;
    const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(handle_, buffer, wanted, &got, nullptr)) {
      throw Error("cannot read " + name_ + ": " + describe(GetLastError()));
    }
    return got;
  }

 private:
  HANDLE handle_;
  std::string name_;
};

std::unique_ptr<Win32TextFile> opened_for_writing(std::u16string_view path, HANDLE handle,
                                                  Encoding encoding) {
  if (handle == INVALID_HANDLE_VALUE) {
    throw Error("cannot open " + narrow_for_message(path) + ": " + describe(GetLastError()));
  }
  return std::make_unique<Win32TextFile>(handle, narrow_for_message(path), encoding);
}

// A date or time text, or the failure to read it.
std::u16string formatted(const std::optional<std::u16string>& text, const char* what) {
  if (!text) throw Error(std::string("cannot read the ") + what + ": " + describe(GetLastError()));
  return *text;
}

}  // namespace

std::u16string Win32Environment::get(std::u16string_view name) const {
  return api::environment_variable(name);
}

bool Win32Environment::set(std::u16string_view name, std::u16string_view value) {
  const auto key = to_ansi(name);
  const auto text = to_ansi(value);
  if (!key || !text) return false;
  return SetEnvironmentVariableA(key->c_str(), text->c_str()) != 0;
}

std::uint32_t Win32System::platform_id() const {
  return api::platform_id();
}

Vectors Win32System::vector_instructions() const {
  // AVX2 is reported only where the system has enabled the saving of its registers in the
  // processor, which no Windows before 7 SP1 does.
  const Vectors processor = processor_vectors();
#if defined(__i386__)
  // The system reports SSE2 only where it saves its registers; Windows 95 has no such report.
  if (processor == Vectors::none) return processor;
  constexpr DWORD kSse2 = 10;  // PF_XMMI64_INSTRUCTIONS_AVAILABLE
  const auto present = api::kernel32_function<BOOL(WINAPI*)(DWORD)>("IsProcessorFeaturePresent");
  if (present == nullptr || !present(kSse2)) return Vectors::none;
#endif
  return processor;
}

long Win32Registry::create_key(std::uint32_t root, std::u16string_view path, Key& key) {
  key = 0;
  const auto ansi_path = to_ansi(path);
  if (!ansi_path) return ERROR_NO_UNICODE_TRANSLATION;
  HKEY opened = nullptr;
  DWORD disposition = 0;
  const LONG status = RegCreateKeyExA(
      reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(root)), ansi_path->c_str(), 0, nullptr,
      REG_OPTION_NON_VOLATILE, KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, &opened, &disposition);
  if (status == ERROR_SUCCESS) key = reinterpret_cast<Key>(opened);
  return status;
}

long Win32Registry::set_string(Key key, std::u16string_view name, std::u16string_view value) {
  const auto ansi_name = to_ansi(name);
  const auto ansi_value = to_ansi(value);
  if (!ansi_name || !ansi_value) return ERROR_NO_UNICODE_TRANSLATION;
  // The data are the text and one zero byte, and the count includes that byte.
  return RegSetValueExA(reinterpret_cast<HKEY>(key), ansi_name->c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(ansi_value->c_str()),
                        static_cast<DWORD>(ansi_value->size() + 1));
}

long Win32Registry::close_key(Key key) {
  return RegCloseKey(reinterpret_cast<HKEY>(key));
}

void Win32Messages::broadcast_setting_change(std::u16string_view section, std::int32_t timeout_ms) {
  const auto text = to_ansi(section);
  if (!text) return;
  DWORD_PTR result = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(text->c_str()),
                      SMTO_ABORTIFHUNG, static_cast<UINT>(timeout_ms), &result);
}

void Win32FileSystem::remove(std::u16string_view path) {
  if (!api::delete_file(path)) {
    throw Error("cannot delete " + narrow_for_message(path) + ": " + describe(GetLastError()));
  }
}

std::unique_ptr<AppendFile> Win32FileSystem::open_append(std::u16string_view path,
                                                         Encoding encoding) {
  // Read too, for its end; shared for reading only, so that no other program writes between
  // reading the end and appending.
  auto file = opened_for_writing(
      path, api::create_file(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS),
      encoding);
  file->to_end();
  return file;
}

std::unique_ptr<TextFile> Win32FileSystem::open_write(std::u16string_view path) {
  return opened_for_writing(
      path, api::create_file(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS), Encoding::ansi);
}

std::unique_ptr<InputFile> Win32FileSystem::open_read(std::u16string_view path) {
  HANDLE handle =
      api::create_file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  if (handle == INVALID_HANDLE_VALUE) {
    throw Error("cannot open " + narrow_for_message(path) + ": " + describe(GetLastError()));
  }
  // A console, a pipe or the NUL device could block a read or never end.
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    throw Error("cannot open " + narrow_for_message(path) + ": not a file on a disk");
  }
  return std::make_unique<Win32InputFile>(handle, narrow_for_message(path));
}

std::u16string Win32FileSystem::decode(std::string_view bytes) const {
  return from_ansi(bytes);
}

LeadBytes Win32FileSystem::lead_bytes() const {
  LeadBytes lead{};
  const UINT code_page = GetACP();
  for (unsigned byte = 0x80; byte < 0x100; ++byte) {
    lead[byte] = IsDBCSLeadByteEx(code_page, static_cast<BYTE>(byte)) != FALSE;
  }
  return lead;
}

std::u16string Win32Clock::date() {
  return formatted(api::short_date(), "date");
}

std::u16string Win32Clock::time() {
  return formatted(api::time_of_day(), "time");
}

std::u16string argument_text_of(std::u16string_view command_line) {
  std::size_t at = 0;
  if (!command_line.empty() && command_line[0] == u'"') {
    const std::size_t closing = command_line.find(u'"', 1);
    at = closing == std::u16string_view::npos ? command_line.size() : closing + 1;
  } else {
    at = command_line.find_first_of(u" \t");
    if (at == std::u16string_view::npos) at = command_line.size();
  }
  if (at < command_line.size() && (command_line[at] == u' ' || command_line[at] == u'\t')) ++at;
  return std::u16string(command_line.substr(at));
}

Win32CommandLine::Win32CommandLine() {
  text_ = argument_text_of(api::command_line());
}

void Win32Programs::start_script(std::u16string_view path, int show) {
  // Quoted, so that a folder name with a blank cannot start another program.
  std::u16string command;
  command.reserve(path.size() + 2);
  command.append(1, u'"').append(path).append(1, u'"');
  if (!api::create_process(command, show)) {
    throw Error("cannot start " + narrow_for_message(path) + ": " + describe(GetLastError()));
  }
}

}  // namespace tavo::platform::win32
