// The headless window stand-in.
#include "platform/posix/window.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "base/error.h"
#include "platform/posix/utf.h"

namespace tavo::platform::posix {

HeadlessWindow::HeadlessWindow(std::istream& in, std::ostream& out, std::ostream& err,
                               EndAction end)
    : in_(in), out_(out), err_(err), end_(std::move(end)) {
  if (!end_) {
    end_ = [this] {
      out_.flush();
      err_.flush();
      std::exit(0);
    };
  }
}

void HeadlessWindow::set_text(Control control, std::u16string_view text) {
  Box& target = box(control);
  target.text = text;
  // As in an edit box, new text leaves the caret at the start with nothing selected.
  target.selection_start = 0;
  target.selection_length = 0;
  if (control == Control::kText1 && events_ != nullptr) events_->text1_changed();
}

void HeadlessWindow::select(Control control, std::size_t start, std::size_t length) {
  Box& target = box(control);
  target.selection_start = std::min(start, target.text.size());
  target.selection_length = std::min(length, target.text.size() - target.selection_start);
}

std::u16string HeadlessWindow::selected_text(Control control) const {
  const Box& source = box(control);
  return source.text.substr(source.selection_start, source.selection_length);
}

void HeadlessWindow::print_line(std::u16string_view line) {
  out_ << to_utf8(line) << '\n';
  out_.flush();
}

void HeadlessWindow::run_event_loop() {
  std::string line;
  while (std::getline(in_, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    try {
      set_text(Control::kText1, from_utf8(line));
    } catch (const std::exception& failure) {  // tavo::Error, and std::bad_alloc and the like
      err_ << "tavo: " << failure.what() << '\n';
    }
  }
  // A line that could not be read (memory ran out holding it) is a failure, not the end.
  if (in_.bad()) throw Error("cannot read standard input");
  if (events_ != nullptr) events_->close_requested();
  end_program();
}

void HeadlessWindow::end_program() {
  end_();
  std::terminate();  // an EndAction that returns breaks the contract
}

}  // namespace tavo::platform::posix
