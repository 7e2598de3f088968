// Appending whole lines to a text file.
#include "publish/line_appender.h"

#include "base/error.h"

namespace tavo {

namespace {

constexpr char kEndOfFile = '\x1A';

}  // namespace

TextEnd text_end(std::string_view tail) {
  TextEnd end;
  while (end.marks < tail.size() && tail[tail.size() - 1 - end.marks] == kEndOfFile) ++end.marks;
  tail.remove_suffix(end.marks);
  end.needs_line_end = !tail.empty() && tail.back() != '\r' && tail.back() != '\n';
  return end;
}

LineAppender::LineAppender(platform::FileSystem& files, std::u16string_view path,
                           platform::Encoding encoding)
    : file_(files.open_append(path, encoding)) {
  // A run of marks longer than what was read is read again, twice as far back.
  std::string tail;
  for (std::size_t count = 64;; count *= 2) {
    tail = file_->last_bytes(count);
    if (tail.size() < count || tail.find_first_not_of(kEndOfFile) != std::string::npos) break;
  }
  const TextEnd end = text_end(tail);
  if (end.marks > 0) file_->cut_end(end.marks);
  line_end_first_ = end.needs_line_end;
}

void LineAppender::write(std::u16string_view text) {
  if (!line_end_first_) return file_->write(text);
  file_->write(u"\r\n" + std::u16string(text));
  line_end_first_ = false;
}

void LineAppender::close() {
  file_->close();
}

bool append_lines(platform::FileSystem& files, std::u16string_view path,
                  platform::Encoding encoding, std::initializer_list<std::u16string_view> lines) {
  std::optional<LineAppender> file;
  const auto opened = [&]() -> LineAppender& {
    if (!file) throw Error("the file is not open");
    return *file;
  };
  bool ok = attempt([&] { file.emplace(files, path, encoding); });
  for (const std::u16string_view line : lines) {
    ok &= attempt([&] { opened().write(std::u16string(line) + u"\r\n"); });
  }
  ok &= attempt([&] { opened().close(); });
  return ok;
}

}  // namespace tavo
