// The recording platform of the unit tests.
#include "fakes/fake_platform.h"

#include <algorithm>
#include <iterator>
#include <mutex>

#include "base/error.h"
#include "platform/posix/utf.h"

namespace tavo::fake {

namespace {

std::string with_control(const char* call, platform::Control control) {
  constexpr const char* kNames[] = {"Text1", "Text2", "Command1"};
  return std::string(call) + " " + kNames[static_cast<int>(control)];
}

template <typename Prefixes>
bool starts_with_any(std::string_view line, const Prefixes& prefixes) {
  return std::any_of(prefixes.begin(), prefixes.end(),
                     [&](std::string_view prefix) { return line.starts_with(prefix); });
}

}  // namespace

std::string quoted(std::u16string_view text) {
  constexpr std::string_view kShown = "\r\n\t", kLetters = "rnt0";  // NUL is the fourth
  std::string out = "\"";
  for (const char c : platform::posix::to_utf8(text)) {
    const std::size_t special = c == '\0' ? 3 : kShown.find(c);
    if (special == std::string_view::npos) {
      out.push_back(c);
    } else {
      out += {'\\', kLetters[special]};
    }
  }
  return out + '"';
}

void PrintTo(const Row& row, std::ostream* os) {
  *os << quoted(row.text);
}

void Recorder::record(std::string line) {
  calls_.push_back(line);
  if (starts_with_any(line, failing_)) throw Error("fake failure of " + line);
}

bool Recorder::refused(std::string line) {
  record(line);
  return starts_with_any(line, refusing_);
}

Calls Recorder::calls_of(std::initializer_list<std::string_view> prefixes) const {
  Calls result;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result),
               [&](const std::string& line) { return starts_with_any(line, prefixes); });
  return result;
}

void FakeWindow::set_text(platform::Control control, std::u16string_view text) {
  log_.record(with_control("window.set_text", control) + " " + quoted(text));
  box(control) = Box{std::u16string(text)};
  if (control == platform::Control::kText1 && events_ != nullptr) events_->text1_changed();
}

std::u16string FakeWindow::text(platform::Control control) const {
  const_cast<Recorder&>(log_).record(with_control("window.text", control));
  return box(control).text;
}

void FakeWindow::set_focus(platform::Control control) {
  log_.record(with_control("window.set_focus", control));
}

void FakeWindow::select(platform::Control control, std::size_t start, std::size_t length) {
  log_.record(with_control("window.select", control) + " " + std::to_string(start) + " " +
              std::to_string(length));
  Box& target = box(control);
  target.start = std::min(start, target.text.size());
  target.length = std::min(length, target.text.size() - target.start);
}

std::u16string FakeWindow::selected_text(platform::Control control) const {
  const_cast<Recorder&>(log_).record(with_control("window.selected_text", control));
  const Box& source = box(control);
  return source.text.substr(source.start, source.length);
}

void FakeWindow::run_event_loop() {
  log_.record("window.run_event_loop");
  while (!pastes.empty()) {
    const std::u16string paste = pastes.front();
    pastes.pop_front();
    try {
      set_text(platform::Control::kText1, paste);
    } catch (const Error&) {
      // dropped, as the real loops do
    }
  }
  if (events_ != nullptr) events_->close_requested();
  end_program();
}

void FakeWindow::end_program() {
  log_.record("window.end_program");
  throw ProgramEnded{};
}

std::u16string FakeEnvironment::get(std::u16string_view name) const {
  log_.record("env.get " + platform::posix::to_utf8(name));
  const auto found = variables.find(std::u16string(name));
  return found == variables.end() ? std::u16string() : found->second;
}

bool FakeEnvironment::set(std::u16string_view name, std::u16string_view value) {
  log_.record("env.set " + platform::posix::to_utf8(name) + " " + quoted(value));
  variables[std::u16string(name)] = value;
  return true;
}

long FakeRegistry::create_key(std::uint32_t root, std::u16string_view path, Key& key) {
  const std::string root_name = root == platform::kCurrentUser    ? "HKCU"
                                : root == platform::kLocalMachine ? "HKLM"
                                                                  : std::to_string(root);
  key = 0;
  if (log_.refused("registry.create_key " + root_name + " " + quoted(path))) return 5;
  key = next_++;
  open_[key] = root_name + "\\" + platform::posix::to_utf8(path);
  return 0;
}

long FakeRegistry::set_string(Key key, std::u16string_view name, std::u16string_view value) {
  if (log_.refused("registry.set_string " + std::to_string(key) + " " + quoted(name) + " " +
                   quoted(value))) {
    return 5;  // access denied
  }
  values[open_.at(key) + "\\" + platform::posix::to_utf8(name)] = platform::posix::to_utf8(value);
  return 0;
}

long FakeRegistry::close_key(Key key) {
  log_.record("registry.close_key " + std::to_string(key));
  return open_.erase(key) == 1 ? 0 : 6;
}

namespace {

class FakeTextFile final : public platform::AppendFile {
 public:
  FakeTextFile(Recorder& log, std::string& content) : log_(log), content_(content) {}
  void write(std::u16string_view text) override {
    log_.record("file.write " + quoted(text));
    content_ += platform::posix::to_utf8(text);
  }
  void close() override { log_.record("file.close"); }
  std::string last_bytes(std::size_t count) override {
    return content_.substr(content_.size() - std::min(count, content_.size()));
  }
  void cut_end(std::size_t count) override {
    log_.record("file.cut_end " + std::to_string(count));
    content_.resize(content_.size() - count);
  }

 private:
  Recorder& log_;
  std::string& content_;
};

// Reads of an open file; a file opened again shares its bytes, which `on_read` may change.
class FakeInputFile final : public platform::InputFile {
 public:
  struct Shared {
    std::mutex lock;  // two threads may read, and `on_read` change the bytes
    std::string content;
  };

  FakeInputFile(std::shared_ptr<Shared> shared, std::uint64_t size, const FakeFileSystem& files)
      : shared_(std::move(shared)), size_(size), files_(files) {}
  std::uint64_t size() const override { return size_; }
  std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size) override {
    const std::lock_guard<std::mutex> held(shared_->lock);
    std::string& content = shared_->content;
    if (files_.on_read) files_.on_read(content);
    const std::size_t at = std::min<std::size_t>(offset, content.size());
    const std::size_t count = std::min({size, files_.read_size, content.size() - at});
    content.copy(buffer, count, at);
    return count;
  }
  std::unique_ptr<platform::InputFile> open_again() const override {
    return std::make_unique<FakeInputFile>(shared_, size_, files_);
  }

 private:
  std::shared_ptr<Shared> shared_;
  std::uint64_t size_;
  const FakeFileSystem& files_;
};

}  // namespace

void FakeFileSystem::remove(std::u16string_view path) {
  log_.record("files.remove " + quoted(path));
  if (files.erase(platform::posix::to_utf8(path)) == 0) throw Error("no such file");
}

std::unique_ptr<platform::AppendFile> FakeFileSystem::open_append(std::u16string_view path,
                                                                  platform::Encoding encoding) {
  log_.record("files.open_append " + quoted(path) +
              (encoding == platform::Encoding::oem ? " oem" : ""));
  return std::make_unique<FakeTextFile>(log_, files[platform::posix::to_utf8(path)]);
}

std::unique_ptr<platform::InputFile> FakeFileSystem::open_read(std::u16string_view path) {
  log_.record("files.open_read " + quoted(path));
  const auto file = files.find(platform::posix::to_utf8(path));
  if (file == files.end()) throw Error("cannot open " + platform::posix::to_utf8(path));
  auto shared = std::make_shared<FakeInputFile::Shared>();
  shared->content = file->second;
  return std::make_unique<FakeInputFile>(shared, file->second.size(), *this);
}

std::unique_ptr<platform::TextFile> FakeFileSystem::open_write(std::u16string_view path) {
  log_.record("files.open_write " + quoted(path));
  std::string& content = files[platform::posix::to_utf8(path)];
  content.clear();
  return std::make_unique<FakeTextFile>(log_, content);
}

std::u16string FakeFileSystem::decode(std::string_view bytes) const {
  return platform::posix::from_utf8(bytes);
}

std::optional<std::string> FakeFileSystem::encode(std::u16string_view text,
                                                  platform::Encoding encoding) const {
  if (encoding == platform::Encoding::oem && text.find_first_of(oem_lacks) != text.npos) {
    return std::nullopt;
  }
  return platform::posix::to_utf8_exact(text);
}

}  // namespace tavo::fake
