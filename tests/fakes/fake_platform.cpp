// The recording platform of the unit tests.
#include "fakes/fake_platform.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/utf.h"

namespace tavo::fake {

namespace {

const char* name_of(platform::Control control) {
  switch (control) {
    case platform::Control::kText1:
      return "Text1";
    case platform::Control::kText2:
      return "Text2";
    case platform::Control::kCommand1:
      return "Command1";
  }
  return "?";
}

std::string with_control(const char* call, platform::Control control) {
  return std::string(call) + " " + name_of(control);
}

}  // namespace

std::string quoted(std::u16string_view text) {
  return '"' + platform::to_utf8(text) + '"';
}

void Recorder::record(std::string line) {
  calls_.push_back(line);
  for (const std::string& prefix : failing_) {
    if (line.rfind(prefix, 0) == 0) throw Error("fake failure of " + line);
  }
}

std::vector<std::string> Recorder::effects() const {
  std::vector<std::string> result;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result), [](const auto& line) {
    return line.rfind("window.text ", 0) != 0 && line.rfind("window.selected_text ", 0) != 0;
  });
  return result;
}

void FakeWindow::show() {
  log_.record("window.show");
}

void FakeWindow::set_text(platform::Control control, std::u16string_view text) {
  log_.record(with_control("window.set_text", control) + " " + quoted(text));
  Box& target = box(control);
  target = Box{std::u16string(text)};
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

void FakeWindow::print_line(std::u16string_view line) {
  log_.record("window.print_line " + quoted(line));
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

void FakeWindow::preset(platform::Control control, std::u16string text) {
  box(control) = Box{std::move(text)};
}

void FakeClipboard::clear() {
  log_.record("clipboard.clear");
  text_.clear();
}

void FakeClipboard::set_text(std::u16string_view text) {
  log_.record("clipboard.set_text " + quoted(text));
  text_ = text;
}

}  // namespace tavo::fake
