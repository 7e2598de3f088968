// Entry point of the Linux build: Form1 over the POSIX stand-ins.
#include <iostream>

#include "frontend/form1.h"
#include "platform/error.h"
#include "platform/posix/desktop_clipboard.h"
#include "platform/posix/headless_window.h"

int main() {
  try {
    tavo::platform::posix::HeadlessWindow window(std::cin, std::cout, std::cerr);
    tavo::platform::posix::DesktopClipboard clipboard;
    tavo::Form1 form({window, clipboard});
    form.Form_Load();
  } catch (const tavo::Error& failure) {
    std::cerr << "tavo: " << failure.what() << '\n';
    return 1;
  }
}
