// The Win32 window of Form1.
#include "platform/win32/window.h"

#include <commctrl.h>

#include <utility>

#include "base/error.h"
#include "platform/win32/api.h"
#include "platform/win32/code_page.h"

namespace tavo::platform::win32 {

namespace {

// Posted to run the change handler once a paste into Text1 has let go of the clipboard.
constexpr UINT kDeferredChange = WM_APP + 1;
// Sent by Windows 8.1 and later when the window has moved to a monitor of another DPI, or the
// monitor's DPI has changed (WM_DPICHANGED).
constexpr UINT kDpiChanged = 0x02E0;

// True while this thread has the clipboard open; an edit box does so while it pastes.
bool clipboard_open_here() {
  HWND holder = GetOpenClipboardWindow();
  return holder != nullptr && GetWindowThreadProcessId(holder, nullptr) == GetCurrentThreadId();
}

}  // namespace

FormWindow::FormWindow(HINSTANCE instance) {
  // Loads Common Controls, which registers the themed edit boxes and button of version 6 where
  // the manifest asks for it (XP and later); elsewhere the system's classic ones are used.
  InitCommonControls();
  if (!api::calls().register_class(instance, kClassName, &FormWindow::window_proc, kIconId,
                                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
    throw Error("cannot register the window class");
  }
  const SIZE size = FormLayout::window_size_at(layout_.dpi());
  form_ =
      api::calls().create_window(0, kClassName, kCaption, kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                 size.cx, size.cy, nullptr, nullptr, instance, this);
  if (form_ == nullptr) throw Error("cannot create the window");
  controls_ = layout_.create_controls(form_, instance);
  // No length limit beyond the control's own maximum.
  api::calls().send(control(Control::kText1), EM_SETLIMITTEXT, 0, 0);
  api::calls().send(control(Control::kText2), EM_SETLIMITTEXT, 0, 0);
  last_focus_ = control(Control::kText1);
  measure_line_height();

  // A window that opens on a monitor whose DPI is not the system's is drawn at that DPI from the
  // start: Windows reports only later changes.
  const Dpi opened_at = window_dpi(form_, layout_.dpi());
  if (opened_at != layout_.dpi()) {
    RECT frame{};
    GetWindowRect(form_, &frame);
    const SIZE scaled = FormLayout::window_size_at(opened_at);
    move_to_dpi(opened_at, {frame.left, frame.top, frame.left + scaled.cx, frame.top + scaled.cy});
  }
}

FormWindow::~FormWindow() {
  if (form_ != nullptr) DestroyWindow(form_);
}

void FormWindow::measure_line_height() {
  if (HDC surface = GetDC(form_)) {
    const HGDIOBJ previous = SelectObject(surface, layout_.font());
    if (const auto height = api::calls().line_height(surface)) line_height_ = *height;
    SelectObject(surface, previous);
    ReleaseDC(form_, surface);
  }
}

void FormWindow::move_to_dpi(Dpi dpi, const RECT& frame) {
  layout_.move_to_dpi(form_, controls_, dpi, frame);
  measure_line_height();
  InvalidateRect(form_, nullptr, TRUE);  // the printed lines, in the new font
}

void FormWindow::show() {
  ShowWindow(form_, SW_SHOWNORMAL);
  UpdateWindow(form_);
  if (!shown_) {
    shown_ = true;
    SetFocus(control(Control::kText1));
  }
}

void FormWindow::set_text(Control control_id, std::u16string_view text) {
  const bool done = api::calls().set_window_text(control(control_id), text);
  if (std::exception_ptr failure = std::exchange(pending_failure_, nullptr)) {
    std::rethrow_exception(failure);
  }
  if (!done) throw Error("cannot set the text of a text box");
}

std::u16string FormWindow::text(Control control_id) const {
  return api::calls().window_text(control(control_id));
}

void FormWindow::set_focus(Control control_id) {
  HWND target = control(control_id);
  SetFocus(target);
  last_focus_ = target;
}

void FormWindow::select(Control control_id, std::size_t start, std::size_t length) {
  // The edit box counts in its own units: bytes of the ANSI code page on the 9x family.
  const std::u16string all = text(control_id);
  api::calls().send(control(control_id), EM_SETSEL,
                    static_cast<WPARAM>(api::calls().edit_position(all, start)),
                    static_cast<LPARAM>(api::calls().edit_position(all, start + length)));
}

std::u16string FormWindow::selected_text(Control control_id) const {
  DWORD start = 0;
  DWORD end = 0;
  api::calls().send(control(control_id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                    reinterpret_cast<LPARAM>(&end));
  const std::u16string all = text(control_id);
  const std::size_t first = api::calls().text_units(all, start);
  const std::size_t last = api::calls().text_units(all, end);
  if (first >= all.size() || last <= first) return {};
  return all.substr(first, last - first);
}

void FormWindow::print_line(std::u16string_view line) {
  RECT client{};
  GetClientRect(form_, &client);
  const auto top = static_cast<long long>(print_count_) * line_height_;
  ++print_count_;
  if (top >= client.bottom) return;  // below the visible surface: never seen
  printed_.push_back(to_wide(line));
  RECT band{0, static_cast<LONG>(top), client.right, static_cast<LONG>(top + line_height_)};
  InvalidateRect(form_, &band, TRUE);
  UpdateWindow(form_);
}

void FormWindow::paint() {
  PAINTSTRUCT paint_info{};
  HDC surface = BeginPaint(form_, &paint_info);
  if (surface == nullptr) return;
  const HGDIOBJ previous = SelectObject(surface, layout_.font());
  SetBkMode(surface, TRANSPARENT);
  SetTextColor(surface, GetSysColor(COLOR_WINDOWTEXT));
  int top = 0;
  for (const std::wstring& line : printed_) {
    // TextOutW is one of the few W functions that 95, 98 and ME implement.
    TextOutW(surface, 0, top, line.c_str(), static_cast<int>(line.size()));
    top += line_height_;
  }
  SelectObject(surface, previous);
  EndPaint(form_, &paint_info);
}

void FormWindow::run_event_loop() {
  MSG message{};
  for (;;) {
    const api::Calls& calls = api::calls();
    const BOOL got = calls.get(&message, nullptr, 0, 0);
    if (got == 0) end_program();  // WM_QUIT: the window is gone
    if (got == -1) continue;
    if (!calls.is_dialog_message(form_, &message)) {
      TranslateMessage(&message);
      calls.dispatch(&message);
    }
    // A failure of a handler that the user's action started has nobody to go to.
    pending_failure_ = nullptr;
  }
}

void FormWindow::end_program() {
  ExitProcess(0);
}

void FormWindow::call_handler(void (WindowEvents::*handler)()) {
  if (events_ == nullptr) return;
  try {
    (events_->*handler)();
  } catch (...) {
    pending_failure_ = std::current_exception();
  }
}

LRESULT CALLBACK FormWindow::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<FormWindow*>(api::creation_parameter(lparam));
    self->form_ = window;
    api::calls().set_long(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    scale_frame_with_monitor(window);
  }
  auto* self = reinterpret_cast<FormWindow*>(api::calls().get_long(window, GWLP_USERDATA));
  if (self == nullptr) return api::calls().default_procedure(window, message, wparam, lparam);
  return self->handle_message(message, wparam, lparam);
}

LRESULT FormWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == kText1Id && HIWORD(wparam) == EN_CHANGE) {
        // An edit box reports a paste while it still holds the clipboard, which the handler
        // must write; the handler then runs as soon as the paste is done.
        if (clipboard_open_here()) {
          api::calls().post(form_, kDeferredChange, 0, 0);
        } else {
          call_handler(&WindowEvents::text1_changed);
        }
      } else if (LOWORD(wparam) == kCommand1Id && HIWORD(wparam) == BN_CLICKED) {
        call_handler(&WindowEvents::command1_clicked);
      }
      return 0;
    case kDeferredChange:
      call_handler(&WindowEvents::text1_changed);
      return 0;
    case kDpiChanged:
      // The new DPI across and down, and the rectangle that Windows suggests for the window.
      if (lparam != 0) {
        move_to_dpi({LOWORD(wparam), HIWORD(wparam)}, *reinterpret_cast<const RECT*>(lparam));
      }
      return 0;
    case WM_ACTIVATE:
      // Give the focus back to the control that had it, as a dialog does.
      if (LOWORD(wparam) != WA_INACTIVE && last_focus_ != nullptr) SetFocus(last_focus_);
      return 0;
    case WM_PAINT:
      paint();
      return 0;
    case WM_CLOSE:
      call_handler(&WindowEvents::close_requested);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return api::calls().default_procedure(form_, message, wparam, lparam);
  }
}

}  // namespace tavo::platform::win32
