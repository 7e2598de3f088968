// Files of the Linux build.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/error.h"
#include "platform/posix/files.h"
#include "platform/posix/folders.h"
#include "platform/posix/utf.h"

namespace tavo::platform::posix {

bool write_all(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(descriptor, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

namespace {

std::string reason() {
  return std::strerror(errno);
}

// Raw reads from a descriptor that this owns, at an offset.
class PosixInputFile final : public InputFile {
 public:
  PosixInputFile(int descriptor, std::string path, std::uint64_t size)
      : descriptor_(descriptor), path_(std::move(path)), size_(size) {}
  ~PosixInputFile() override { ::close(descriptor_); }
  PosixInputFile(const PosixInputFile&) = delete;
  PosixInputFile& operator=(const PosixInputFile&) = delete;

  std::uint64_t size() const override { return size_; }
  std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size) override {
    for (;;) {
      const ssize_t got = ::pread(descriptor_, buffer, size, static_cast<off_t>(offset));
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR) throw Error("cannot read " + path_ + ": " + reason());
    }
  }
  // pread leaves the descriptor's place alone, so a copy of it serves a second thread.
  std::unique_ptr<InputFile> open_again() const override {
    const int copy = ::fcntl(descriptor_, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) throw Error("cannot open " + path_ + " again: " + reason());
    return std::make_unique<PosixInputFile>(copy, path_, size_);
  }

 private:
  int descriptor_;
  std::string path_;
  std::uint64_t size_;
};

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

// Files through the C library; text is UTF-8 in both encodings. Paths are Windows-style, as
// to_posix_path maps them.
class PosixFileSystem final : public FileSystem {
 public:
  void remove(std::u16string_view path) override {
    const std::string target = to_posix_path(path);
    if (std::remove(target.c_str()) != 0) throw Error("cannot delete " + target + ": " + reason());
  }
  std::unique_ptr<AppendFile> open_append(std::u16string_view path, Encoding) override {
    const std::string target = to_posix_path(path);
    return std::make_unique<PosixTextFile>(open_for_writing(target, O_RDWR | O_APPEND), target);
  }
  std::unique_ptr<InputFile> open_read(std::u16string_view path) override {
    const std::string target = to_posix_path(path);
    // Not blocking, so that opening a pipe cannot hang before it is refused below.
    const int descriptor = ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) throw Error("cannot open " + target + ": " + reason());
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
      ::close(descriptor);
      throw Error("cannot open " + target + ": not a plain file");
    }
    return std::make_unique<PosixInputFile>(descriptor, target,
                                            static_cast<std::uint64_t>(status.st_size));
  }
  std::unique_ptr<TextFile> open_write(std::u16string_view path) override {
    const std::string target = to_posix_path(path);
    return std::make_unique<PosixTextFile>(open_for_writing(target, O_WRONLY | O_TRUNC), target);
  }
  std::u16string decode(std::string_view bytes) const override { return from_utf8(bytes); }
  std::optional<std::string> encode(std::u16string_view text, Encoding) const override {
    return to_utf8_exact(text);
  }
  // None: UTF-8 has no two-byte characters of that kind.
  LeadBytes lead_bytes() const override { return {}; }
};

}  // namespace

}  // namespace tavo::platform::posix

auto tavo::platform::make_file_system() -> std::unique_ptr<FileSystem> {
  return std::make_unique<posix::PosixFileSystem>();
}
