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
  if (tail.empty() || tail.ends_with("\r\n")) return end;
  end.line_end = tail.back() == '\r' ? "\n" : "\r\n";
  return end;
}

LineAppender::LineAppender(platform::FileSystem& files, std::u16string_view path,
                           platform::Encoding encoding)
    : file_(files.open_append(path, encoding)) {
  // A run of marks longer than what was read is read again, twice as far back, until two bytes
  // before the marks are in hand.
  std::string tail;
  for (std::size_t count = 64;; count *= 2) {
    tail = file_->last_bytes(count);
    const std::size_t last_text = tail.find_last_not_of(kEndOfFile);
    if (tail.size() < count || (last_text != std::string::npos && last_text >= 1)) break;
  }
  const TextEnd end = text_end(tail);
  if (end.marks > 0) file_->cut_end(end.marks);
  line_end_first_ = end.line_end;
}

void LineAppender::write(std::u16string_view text) {
  if (line_end_first_.empty()) return file_->write(text);
  file_->write(std::u16string(line_end_first_.begin(), line_end_first_.end()) +
               std::u16string(text));
  line_end_first_ = {};
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
