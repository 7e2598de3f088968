// The converter window: two text boxes, a push button, a print surface and the event loop.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavo::platform {

enum class Control { kText1, kText2, kCommand1 };

// What the window reports to its owner. Each call runs on the window's only thread.
class WindowEvents {
 public:
  // Text1's text changed, by the user or by the program.
  virtual void text1_changed() = 0;
  // The "Close" button was pressed.
  virtual void command1_clicked() = 0;
  // The window is asked to close in another way (title-bar close box, end of input).
  virtual void close_requested() = 0;

 protected:
  ~WindowEvents() = default;
};

// Texts are UTF-16; positions and lengths count UTF-16 code units. Every operation throws
// tavo::Error when the toolkit refuses it.
class Window {
 public:
  virtual ~Window() = default;

  // The owner whose handlers the window calls; set once, before show().
  virtual void attach(WindowEvents& events) = 0;

  // Shows the window, not modal. Showing it again is harmless.
  virtual void show() = 0;

  // Setting Text1's text runs WindowEvents::text1_changed to its end before this returns; a
  // failure that leaves the handler passes on to the caller of set_text.
  virtual void set_text(Control control, std::u16string_view text) = 0;
  virtual std::u16string text(Control control) const = 0;

  virtual void set_focus(Control control) = 0;
  // Selects `length` characters from `start` (counted from 0).
  virtual void select(Control control, std::size_t start, std::size_t length) = 0;
  virtual std::u16string selected_text(Control control) const = 0;

  // Draws `line` on the window surface at the print position and moves the print position to
  // the start of the next line.
  virtual void print_line(std::u16string_view line) = 0;

  // Services window events until a handler ends the program. A failure that leaves a handler
  // called from here is dropped, and the loop goes on.
  [[noreturn]] virtual void run_event_loop() = 0;

  // Ends the program at once: nothing after this runs.
  [[noreturn]] virtual void end_program() = 0;
};

}  // namespace tavo::platform
