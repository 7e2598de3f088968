// Files of tavo.exe, each through a handle of its own.
#include "platform/files.h"

#include <windows.h>

#include <cstdint>
#include <utility>

#include "base/error.h"
#include "platform/win32/api.h"
#include "platform/win32/code_page.h"

namespace tavo::platform::win32 {

namespace {

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
      throw failure("cannot write");
    }
  }
  void close() override {
    const BOOL closed = CloseHandle(open());
    handle_ = INVALID_HANDLE_VALUE;
    if (!closed) throw failure("cannot close");
  }
  std::string last_bytes(std::size_t count) override {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(open(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) throw failure("cannot read");
    const std::uint64_t size = (std::uint64_t{high} << 32) | low;
    const DWORD wanted = static_cast<DWORD>(count < size ? count : size);
    std::string tail(wanted, '\0');
    DWORD got = 0;
    if (!from_end(-std::int64_t{wanted}) ||
        !ReadFile(handle_, tail.data(), wanted, &got, nullptr) || !from_end(0)) {
      throw failure("cannot read");
    }
    tail.resize(got);
    return tail;
  }
  void to_end() {
    if (!from_end(0)) throw failure("cannot open");
  }
  void cut_end(std::size_t count) override {
    if (!from_end(-static_cast<std::int64_t>(count)) || !SetEndOfFile(handle_)) {
      throw failure("cannot cut");
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
  Error failure(const char* what) const { return api::last_error(std::string(what) + " " + name_); }

  HANDLE handle_;
  std::string name_;
  Encoding encoding_;
};

class Win32InputFile;
std::unique_ptr<Win32InputFile> opened_for_reading(std::u16string_view path);

// Reads from the file pointer, which every Windows has: 9x reads a disk file no other way, and
// Wine reads at an offset given with ReadFile at a quarter of the speed.
class Win32InputFile final : public InputFile {
 public:
  Win32InputFile(HANDLE handle, std::u16string path, std::uint64_t size)
      : handle_(handle), path_(std::move(path)), name_(api::for_message(path_)), size_(size) {}
  ~Win32InputFile() override { CloseHandle(handle_); }
  Win32InputFile(const Win32InputFile&) = delete;
  Win32InputFile& operator=(const Win32InputFile&) = delete;

  std::uint64_t size() const override { return size_; }
  std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size) override {
    LONG high = static_cast<LONG>(offset >> 32);
    SetLastError(NO_ERROR);
    DWORD got = 0;
    const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if ((SetFilePointer(handle_, static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN) ==
             INVALID_SET_FILE_POINTER &&
         GetLastError() != NO_ERROR) ||
        !ReadFile(handle_, buffer, wanted, &got, nullptr)) {
      throw api::last_error("cannot read " + name_);
    }
    return got;
  }
  // A handle of its own, with a file pointer of its own.
  std::unique_ptr<InputFile> open_again() const override {
    auto again = opened_for_reading(path_);
    again->size_ = size_;  // read as far as this one is
    return again;
  }

  // The size of the file open as `handle`.
  static std::uint64_t size_of(HANDLE handle, const std::string& name) {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(handle, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
      throw api::last_error("cannot read " + name);
    }
    return (std::uint64_t{high} << 32) | low;
  }

 private:
  HANDLE handle_;
  std::u16string path_;
  std::string name_;
  std::uint64_t size_;
};

std::unique_ptr<Win32TextFile> opened_for_writing(std::u16string_view path, HANDLE handle,
                                                  Encoding encoding) {
  if (handle == INVALID_HANDLE_VALUE)
    throw api::last_error("cannot open " + api::for_message(path));
  return std::make_unique<Win32TextFile>(handle, api::for_message(path), encoding);
}

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

void Win32FileSystem::remove(std::u16string_view path) {
  if (!api::calls().delete_file(path)) {
    throw api::last_error("cannot delete " + api::for_message(path));
  }
}

std::unique_ptr<AppendFile> Win32FileSystem::open_append(std::u16string_view path,
                                                         Encoding encoding) {
  // Read too, for its end; shared for reading only, so that no other program writes between
  // reading the end and appending.
  auto file = opened_for_writing(
      path,
      api::calls().create_file(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS),
      encoding);
  file->to_end();
  return file;
}

std::unique_ptr<TextFile> Win32FileSystem::open_write(std::u16string_view path) {
  return opened_for_writing(
      path, api::calls().create_file(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS),
      Encoding::ansi);
}

std::unique_ptr<Win32InputFile> opened_for_reading(std::u16string_view path) {
  HANDLE handle = api::calls().create_file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           OPEN_EXISTING);
  const std::string name = api::for_message(path);
  if (handle == INVALID_HANDLE_VALUE) throw api::last_error("cannot open " + name);
  // A console, a pipe or the NUL device could block a read or never end.
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    throw Error("cannot open " + name + ": not a file on a disk");
  }
  try {
    return std::make_unique<Win32InputFile>(handle, std::u16string(path),
                                            Win32InputFile::size_of(handle, name));
  } catch (...) {
    CloseHandle(handle);
    throw;
  }
}

std::unique_ptr<InputFile> Win32FileSystem::open_read(std::u16string_view path) {
  return opened_for_reading(path);
}

std::optional<std::string> Win32FileSystem::encode(std::u16string_view text,
                                                   Encoding encoding) const {
  return win32::encode(text, encoding);
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

}  // namespace

}  // namespace tavo::platform::win32

auto tavo::platform::make_file_system() -> std::unique_ptr<FileSystem> {
  return std::make_unique<win32::Win32FileSystem>();
}
