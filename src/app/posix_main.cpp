// Entry point of the Linux build: Form1 over the POSIX stand-ins.
#include <clocale>
#include <csignal>
#include <exception>
#include <iostream>

#include "base/error.h"
#include "frontend/form1.h"
#include "frontend/usage.h"
#include "platform/posix/clipboard.h"
#include "platform/posix/services.h"
#include "platform/posix/window.h"

int main(int argc, char** argv) {
  namespace posix = tavo::platform::posix;
  // The only texts answered instead of converted; nothing is published, no file is touched.
  const std::u16string text = posix::ArgumentList(argc, argv).argument_text();
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
    posix::PosixEnvironment environment;
    posix::PosixSystem system;
    posix::FileRegistry registry;
    posix::NoBroadcast messages;
    posix::PosixFileSystem files;
    posix::NoPrograms programs;
    posix::PosixClock clock;
    posix::ArgumentList command_line(argc, argv);
    posix::PosixThreads threads;
    const tavo::platform::Services services{window,   clipboard,    environment, system,
                                            registry, messages,     files,       programs,
                                            clock,    command_line, threads};
    tavo::Form1 form(services);
    form.Form_Load();
  } catch (const std::exception& failure) {  // tavo::Error, and std::bad_alloc and the like
    std::cerr << "tavo: " << failure.what() << '\n';
    return 1;
  }
}
