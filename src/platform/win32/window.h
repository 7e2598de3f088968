// The window of tavo.exe, Form1: a top-level window with two edit boxes, a button and a surface.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "platform/win32/form_layout.h"
#include "platform/window.h"

namespace tavo::platform::win32 {

inline constexpr int kIconId = 1;

class FormWindow final : public Window {
 public:
  // Registers the class and creates the window and its controls, hidden. Throws tavo::Error
  // when the class cannot be registered or a window cannot be created.
  explicit FormWindow(HINSTANCE instance);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  HWND handle() const { return form_; }

  void attach(WindowEvents& events) override { events_ = &events; }
  void show() override;
  void set_text(Control control, std::u16string_view text) override;
  std::u16string text(Control control) const override;
  void set_focus(Control control) override;
  void select(Control control, std::size_t start, std::size_t length) override;
  std::u16string selected_text(Control control) const override;
  void print_line(std::u16string_view line) override;
  [[noreturn]] void run_event_loop() override;
  [[noreturn]] void end_program() override;

 private:
  static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
  // Draws the window at `dpi` in the rectangle `frame`, and its printed lines in the new font.
  void move_to_dpi(Dpi dpi, const RECT& frame);
  void measure_line_height();
  HWND control(Control which) const { return controls_[static_cast<std::size_t>(which)]; }
  // Runs one handler; a failure is kept for set_text to pass on, since no exception may
  // unwind through the system's frames.
  void call_handler(void (WindowEvents::*handler)());
  void paint();

  FormLayout layout_;
  HWND form_ = nullptr;
  Controls controls_{};
  HWND last_focus_ = nullptr;
  int line_height_ = 16;
  WindowEvents* events_ = nullptr;
  std::exception_ptr pending_failure_;
  bool shown_ = false;
  // Printed lines that can still be seen; lines below the client area are only counted.
  std::vector<std::wstring> printed_;
  std::size_t print_count_ = 0;
};

}  // namespace tavo::platform::win32
