// The window stand-in of the Linux build: boxes held as text, stdin as pastes, stdout as surface.
#pragma once

#include <array>
#include <functional>
#include <iosfwd>
#include <string>

#include "platform/window.h"

namespace tavo::platform::posix {

// Each line read from `in` becomes the new text of Text1, as a paste would; a trailing CR is
// dropped and malformed UTF-8 is read as U+FFFD. End of input acts as the close box. Each
// printed line goes to `out` as UTF-8. A failure that leaves a handler run from the loop is
// written to `err` as "tavo: <message>" and the loop goes on.
class HeadlessWindow final : public Window {
 public:
  // Called to end the program; it must not return (the default flushes and exits with 0).
  using EndAction = std::function<void()>;

  HeadlessWindow(std::istream& in, std::ostream& out, std::ostream& err, EndAction end = {});

  void attach(WindowEvents& events) override { events_ = &events; }
  void show() override {}
  void set_text(Control control, std::u16string_view text) override;
  std::u16string text(Control control) const override { return box(control).text; }
  void set_focus(Control control) override { focus_ = control; }
  void select(Control control, std::size_t start, std::size_t length) override;
  std::u16string selected_text(Control control) const override;
  void print_line(std::u16string_view line) override;
  [[noreturn]] void run_event_loop() override;
  [[noreturn]] void end_program() override;

  Control focus() const { return focus_; }

 private:
  struct Box {
    std::u16string text;
    std::size_t selection_start = 0;
    std::size_t selection_length = 0;
  };
  Box& box(Control control) { return boxes_[static_cast<std::size_t>(control)]; }
  const Box& box(Control control) const { return boxes_[static_cast<std::size_t>(control)]; }

  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  EndAction end_;
  WindowEvents* events_ = nullptr;
  std::array<Box, 3> boxes_{};
  Control focus_ = Control::kText1;
};

}  // namespace tavo::platform::posix
