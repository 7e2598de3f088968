// Entry point of the Linux build: Form1 over the POSIX stand-ins.
#include <clocale>
#include <csignal>
#include <exception>
#include <iostream>
#include <memory>

#include "base/error.h"
#include "frontend/form1.h"
#include "frontend/usage.h"
#include "platform/posix/clipboard.h"
#include "platform/posix/window.h"

int main(int argc, char** argv) {
  namespace platform = tavo::platform;
  namespace posix = tavo::platform::posix;
  const std::unique_ptr<platform::CommandLine> command_line =
      platform::make_command_line(argc, argv);
  // The only texts answered instead of converted; nothing is published, no file is touched.
  const std::u16string text = command_line->argument_text();
  if (text == u"--help" || text == u"-h") {
    std::cout << tavo::usage(tavo::kLinuxUsage);
    return 0;
  }
  if (text == u"--version") {
    std::cout << "tavo " << tavo::kVersion << '\n';
    return 0;
  }
  std::setlocale(LC_TIME, "");
  // A clipboard tool that quits before reading, or a closed standard output, makes that one
  // write fail, and the step is skipped, instead of ending tavo.
  std::signal(SIGPIPE, SIG_IGN);
  try {
    posix::HeadlessWindow window(std::cin, std::cout, std::cerr);
    posix::DesktopClipboard clipboard;
    platform::Backend backend;
    const platform::Services services = backend.services(window, clipboard, *command_line);
    tavo::Form1 form(services);  // which keeps a reference to `services`
    form.Form_Load();
  } catch (const std::exception& failure) {  // tavo::Error, and std::bad_alloc and the like
    std::cerr << "tavo: " << failure.what() << '\n';
    return 1;
  }
}
