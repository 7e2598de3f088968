// Entry point of the Linux build: Form1 over the POSIX stand-ins.
#include <iostream>

#include "frontend/form1.h"
#include "platform/error.h"
#include "platform/posix/desktop_clipboard.h"
#include "platform/posix/headless_window.h"
#include "platform/posix/stand_ins.h"

int main() {
  namespace posix = tavo::platform::posix;
  try {
    posix::HeadlessWindow window(std::cin, std::cout, std::cerr);
    posix::DesktopClipboard clipboard;
    posix::PosixEnvironment environment;
    posix::PosixSystem system;
    posix::FileRegistry registry;
    posix::NoBroadcast messages;
    posix::PosixFileSystem files;
    posix::NoPrograms programs;
    const tavo::platform::Services services{window,   clipboard, environment, system,
                                            registry, messages,  files,       programs};
    tavo::Form1 form(services);
    form.Form_Load();
  } catch (const tavo::Error& failure) {
    std::cerr << "tavo: " << failure.what() << '\n';
    return 1;
  }
}
