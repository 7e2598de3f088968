// Every platform service that the core works through, handed out by the composition root.
#pragma once

#include <memory>

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/command_line.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/programs.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/threads.h"
#include "platform/window.h"

namespace tavo::platform {

// References only; the services outlive everything that holds this.
struct Services {
  Window& window;
  Clipboard& clipboard;
  ProcessEnvironment& environment;
  SystemInfo& system;
  Registry& registry;
  WindowMessages& messages;
  FileSystem& files;
  Programs& programs;
  Clock& clock;
  CommandLine& command_line;
  Threads& threads;
};

// The facilities that this build's backend makes alike on every system, owned together. The
// window, the clipboard and the command line each program makes its own way, and lends.
struct Backend {
  std::unique_ptr<ProcessEnvironment> environment = make_environment();
  std::unique_ptr<SystemInfo> system = make_system_info();
  std::unique_ptr<Registry> registry = make_registry();
  std::unique_ptr<WindowMessages> messages = make_window_messages();
  std::unique_ptr<FileSystem> files = make_file_system();
  std::unique_ptr<Programs> programs = make_programs();
  std::unique_ptr<Clock> clock = make_clock();
  std::unique_ptr<Threads> threads = make_threads();

  Services services(Window& window, Clipboard& clipboard, CommandLine& command_line) {
    return {window, clipboard, *environment, *system,      *registry, *messages,
            *files, *programs, *clock,       command_line, *threads};
  }
};

}  // namespace tavo::platform
