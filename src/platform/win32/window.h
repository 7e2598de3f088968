// The window of tavo.exe, Form1: a top-level window with two edit boxes, a button and a surface.
#pragma once

#include <windows.h>

#include <array>
#include <exception>
#include <string>
#include <vector>

#include "platform/window.h"

namespace tavo::platform::win32 {

// Control identifiers; kept clear of IDOK and IDCANCEL, which IsDialogMessage sends on Enter
// and Escape.
inline constexpr int kText1Id = 101;
inline constexpr int kText2Id = 102;
inline constexpr int kCommand1Id = 103;
inline constexpr wchar_t kClassName[] = L"TavoForm1";
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
  void create_controls(HINSTANCE instance);
  HWND create_child(HINSTANCE instance, const wchar_t* kind, const wchar_t* caption, DWORD style,
                    DWORD ex_style, int id, int left, int top, int width, int height);
  HWND control(Control which) const { return controls_[static_cast<std::size_t>(which)]; }
  // Runs one handler; a failure is kept for set_text to pass on, since no exception may
  // unwind through the system's frames.
  void call_handler(void (WindowEvents::*handler)());
  void paint();
  int to_pixels_x(int twips) const { return MulDiv(twips, dpi_x_, 1440); }
  int to_pixels_y(int twips) const { return MulDiv(twips, dpi_y_, 1440); }

  HWND form_ = nullptr;
  std::array<HWND, 3> controls_{};  // Text1, Text2, Command1, in the order of Control
  HWND last_focus_ = nullptr;
  HFONT font_ = nullptr;
  int dpi_x_ = 96;
  int dpi_y_ = 96;
  int line_height_ = 16;
  WindowEvents* events_ = nullptr;
  std::exception_ptr pending_failure_;
  bool shown_ = false;
  // Printed lines that can still be seen; lines below the client area are only counted.
  std::vector<std::wstring> printed_;
  std::size_t print_count_ = 0;
};

}  // namespace tavo::platform::win32
