// The recording platform of the unit tests: every call becomes one line of text, in order.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/form1.h"
#include "platform/clipboard.h"
#include "platform/window.h"

namespace tavo::fake {

// Thrown by FakeWindow::end_program, so a test can see that nothing ran after it.
struct ProgramEnded {};

// The shared call log. A call whose line starts with a prefix given to fail_on is recorded
// and then fails with tavo::Error.
class Recorder {
 public:
  void record(std::string line);
  void fail_on(std::string prefix) { failing_.push_back(std::move(prefix)); }
  const std::vector<std::string>& calls() const { return calls_; }
  // The calls that change something: reads of text and selection left out.
  std::vector<std::string> effects() const;
  void clear() { calls_.clear(); }

 private:
  std::vector<std::string> calls_;
  std::vector<std::string> failing_;
};

// Quoted UTF-8 form of a text, as it appears in the log.
std::string quoted(std::u16string_view text);

class FakeWindow final : public platform::Window {
 public:
  explicit FakeWindow(Recorder& log) : log_(log) {}

  void attach(platform::WindowEvents& events) override { events_ = &events; }
  void show() override;
  void set_text(platform::Control control, std::u16string_view text) override;
  std::u16string text(platform::Control control) const override;
  void set_focus(platform::Control control) override;
  void select(platform::Control control, std::size_t start, std::size_t length) override;
  std::u16string selected_text(platform::Control control) const override;
  void print_line(std::u16string_view line) override;
  // Pastes each queued text into Text1, then acts as the close box.
  [[noreturn]] void run_event_loop() override;
  [[noreturn]] void end_program() override;

  // Sets a box's text without any event or log line, to prepare a test.
  void preset(platform::Control control, std::u16string text);
  std::deque<std::u16string> pastes;

 private:
  struct Box {
    std::u16string text;
    std::size_t start = 0;
    std::size_t length = 0;
  };
  Box& box(platform::Control control) { return boxes_[static_cast<int>(control)]; }
  const Box& box(platform::Control control) const { return boxes_[static_cast<int>(control)]; }

  Recorder& log_;
  platform::WindowEvents* events_ = nullptr;
  Box boxes_[3];
};

class FakeClipboard final : public platform::Clipboard {
 public:
  explicit FakeClipboard(Recorder& log) : log_(log) {}
  void clear() override;
  void set_text(std::u16string_view text) override;
  const std::u16string& text() const { return text_; }

 private:
  Recorder& log_;
  std::u16string text_;
};

// A whole recording platform, ready to hand to Form1.
struct FakePlatform {
  Recorder log;
  FakeWindow window{log};
  FakeClipboard clipboard{log};
  Services services() { return Services{window, clipboard}; }
};

}  // namespace tavo::fake
