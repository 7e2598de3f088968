// Form1: load handler, change handler of the input box, and the "Close" button.
#include "frontend/form1.h"

#include <exception>

#include "convert/notation.h"
#include "frontend/routing.h"
#include "lookup/lease_lookup.h"
#include "publish/publication.h"

namespace tavo {

using platform::Control;

Form1::Form1(const platform::Services& services) : services_(services), publisher_(services) {
  services_.window.attach(*this);
}

std::u16string Form1::hexconvert(std::u16string_view wert, std::int16_t start) {
  return convert_and_publish(services_, publisher_, wert, start);
}

void Form1::readdhcp(std::u16string_view wert) {
  lease_lookup(
      services_,
      [this](std::u16string_view address, std::int16_t start) {
        return hexconvert(address, start);
      },
      wert);
}

std::u16string Form1::lower(std::u16string_view a) {
  return tavo::lower(a);
}

void Form1::Form_Load() {
  services_.window.show();
  command_line_driver();
  services_.window.show();
  services_.window.run_event_loop();
  std::terminate();  // the loop never returns
}

void Form1::Text1_Change() {
  platform::Window& window = services_.window;
  if (const auto route = route_text1(window.text(Control::kText1))) {
    window.set_text(Control::kText2, hexconvert(route->wert, route->start));
  }
  window.set_focus(Control::kText2);
  select_all(Control::kText2);
  put_on_clipboard([&] { return window.selected_text(Control::kText2); });
  window.set_focus(Control::kText1);
  select_all(Control::kText1);
}

void Form1::Command1_Click() {
  services_.window.end_program();
  std::terminate();  // ending the program never returns
}

void Form1::select_all(Control control) {
  platform::Window& window = services_.window;
  window.select(control, 0, window.text(control).size());
}

}  // namespace tavo
