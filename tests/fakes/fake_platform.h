// The recording platform of the unit tests: every call becomes one line of text, in order.
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "platform/services.h"

namespace tavo::fake {

using Calls = std::vector<std::string>;  // the log's lines, in order

// Thrown by FakeWindow::end_program, so a test can see that nothing ran after it.
struct ProgramEnded {};

// The shared call log. A call whose line starts with a prefix given to fail_on is recorded
// and then fails with tavo::Error; one given to refuse_on is recorded and refused with a
// status, where the real call returns one (the registry).
class Recorder {
 public:
  void record(std::string line);
  // Records `line`; true when a prefix given to refuse_on marks it as refused.
  bool refused(std::string line);
  void fail_on(std::string prefix) { failing_.push_back(std::move(prefix)); }
  void refuse_on(std::string prefix) { refusing_.push_back(std::move(prefix)); }
  const Calls& calls() const { return calls_; }
  // The calls that start with one of `prefixes`, e.g. {"window.", "clipboard."}.
  Calls calls_of(std::initializer_list<std::string_view> prefixes) const;
  void clear() { calls_.clear(); }

 private:
  Calls calls_;
  std::vector<std::string> failing_;
  std::vector<std::string> refusing_;
};

// Quoted UTF-8 form of a text, as it appears in the log; CR, LF, tab and NUL are written as
// \r \n \t \0.
std::string quoted(std::u16string_view text);

// The row of a table of cases, which a failing case names by the text it starts from.
struct Row {
  std::u16string text;
};
void PrintTo(const Row& row, std::ostream* os);

// What every fake holds: the log it records its calls in.
class Recording {
 public:
  explicit Recording(Recorder& log) : log_(log) {}

 protected:
  Recorder& log_;
};

class FakeWindow final : public platform::Window, Recording {
 public:
  using Recording::Recording;

  void attach(platform::WindowEvents& events) override { events_ = &events; }
  void show() override { log_.record("window.show"); }
  void set_text(platform::Control control, std::u16string_view text) override;
  std::u16string text(platform::Control control) const override;
  void set_focus(platform::Control control) override;
  void select(platform::Control control, std::size_t start, std::size_t length) override;
  std::u16string selected_text(platform::Control control) const override;
  void print_line(std::u16string_view line) override {
    log_.record("window.print_line " + quoted(line));
  }
  // Pastes each queued text into Text1, then acts as the close box.
  [[noreturn]] void run_event_loop() override;
  [[noreturn]] void end_program() override;

  // Sets a box's text without any event or log line, to prepare a test.
  void preset(platform::Control control, std::u16string text) { box(control) = {std::move(text)}; }
  std::deque<std::u16string> pastes;

 private:
  struct Box {
    std::u16string text;
    std::size_t start = 0;
    std::size_t length = 0;
  };
  Box& box(platform::Control control) { return boxes_[static_cast<int>(control)]; }
  const Box& box(platform::Control control) const { return boxes_[static_cast<int>(control)]; }

  platform::WindowEvents* events_ = nullptr;
  Box boxes_[3];
};

class FakeClipboard final : public platform::Clipboard, Recording {
 public:
  using Recording::Recording;
  void clear() override {
    log_.record("clipboard.clear");
    text_.clear();
  }
  void set_text(std::u16string_view text) override {
    log_.record("clipboard.set_text " + quoted(text));
    text_ = text;
  }
  const std::u16string& text() const { return text_; }

 private:
  std::u16string text_;
};

class FakeEnvironment final : public platform::ProcessEnvironment, Recording {
 public:
  using Recording::Recording;
  std::u16string get(std::u16string_view name) const override;
  bool set(std::u16string_view name, std::u16string_view value) override;
  std::map<std::u16string, std::u16string> variables{{u"temp", u"C:\\Temp"}};
};

class FakeSystem final : public platform::SystemInfo, Recording {
 public:
  using Recording::Recording;
  std::uint32_t platform_id() const override {
    log_.record("system.platform_id");
    return id;
  }
  // Not recorded: only the lookup's speed depends on it.
  platform::Vectors vector_instructions() const override { return vectors; }
  platform::Vectors vectors = platform::Vectors::sse2;
  std::uint32_t id = platform::kPlatformWin32Nt;
};

// Keys are numbered from 1 in the order they are opened; `values` holds what was written, by
// "ROOT\path\name" with ROOT as HKCU or HKLM.
class FakeRegistry final : public platform::Registry, Recording {
 public:
  using Recording::Recording;
  long create_key(std::uint32_t root, std::u16string_view path, Key& key) override;
  long set_string(Key key, std::u16string_view name, std::u16string_view value) override;
  long close_key(Key key) override;
  std::map<std::string, std::string> values;

 private:
  std::map<Key, std::string> open_;
  Key next_ = 1;
};

class FakeMessages final : public platform::WindowMessages, Recording {
 public:
  using Recording::Recording;
  void broadcast_setting_change(std::u16string_view section, std::int32_t timeout_ms) override {
    log_.record("messages.broadcast " + quoted(section) + " " + std::to_string(timeout_ms));
  }
};

// Files in memory, by path, as UTF-8. Deleting a missing file fails, as it does for real, and
// so does reading one. A file opened for reading is read as it was when opened, at most
// `read_size` bytes a call, so that lines and terms straddle the reads. `on_read` may change an
// open file's bytes before each read, as a program writing it would. The OEM encoding lacks the
// characters of `oem_lacks`; a file opened for it is logged with " oem".
class FakeFileSystem final : public platform::FileSystem, Recording {
 public:
  using Recording::Recording;
  void remove(std::u16string_view path) override;
  std::unique_ptr<platform::AppendFile> open_append(std::u16string_view path,
                                                    platform::Encoding encoding) override;
  std::unique_ptr<platform::InputFile> open_read(std::u16string_view path) override;
  std::unique_ptr<platform::TextFile> open_write(std::u16string_view path) override;
  std::u16string decode(std::string_view bytes) const override;
  std::optional<std::string> encode(std::u16string_view text,
                                    platform::Encoding encoding) const override;
  platform::LeadBytes lead_bytes() const override { return lead; }
  std::map<std::string, std::string> files;
  std::u16string oem_lacks;
  platform::LeadBytes lead{};
  std::size_t read_size = 5;
  std::function<void(std::string& content)> on_read;
};

class FakePrograms final : public platform::Programs, Recording {
 public:
  using Recording::Recording;
  void start_script(std::u16string_view path, int show) override {
    log_.record("programs.start_script " + quoted(path) + " " + std::to_string(show));
  }
};

// Always the same moment, so that log entries can be compared byte for byte.
class FakeClock final : public platform::Clock, Recording {
 public:
  using Recording::Recording;
  std::u16string date() override {
    log_.record("clock.date");
    return u"12/8/2026";
  }
  std::u16string time() override {
    log_.record("clock.time");
    return u"9:42:07 PM";
  }
};

// The system's threads, on two processors whatever this machine has, so that a search runs
// beside its reads as it does for real; with `refuse`, none can be started. Not recorded: only
// speed depends on them.
class FakeThreads final : public platform::Threads {
 public:
  unsigned processors() const override { return 2; }
  std::unique_ptr<platform::Thread> start(std::function<void()> work) override {
    if (refuse) throw Error("cannot start a thread");
    return system_->start(std::move(work));
  }
  bool refuse = false;

 private:
  std::unique_ptr<platform::Threads> system_ = platform::make_threads();
};

class FakeCommandLine final : public platform::CommandLine {
 public:
  std::u16string argument_text() const override { return text; }
  std::u16string text;
};

// A whole recording platform, ready to hand to Form1; FakeForm hands it over.
struct FakePlatform {
  Recorder log;
  FakeWindow window{log};
  FakeClipboard clipboard{log};
  FakeEnvironment environment{log};
  FakeSystem system{log};
  FakeRegistry registry{log};
  FakeMessages messages{log};
  FakeFileSystem files{log};
  FakePrograms programs{log};
  FakeClock clock{log};
  FakeCommandLine command_line;
  FakeThreads threads;
  // These fakes, with a window and a clipboard of the test's own.
  platform::Services with(platform::Window& other_window, platform::Clipboard& other_clipboard) {
    return {other_window, other_clipboard, environment, system,       registry, messages,
            files,        programs,        clock,       command_line, threads};
  }
  platform::Services services = with(window, clipboard);
};

}  // namespace tavo::fake
