// Every platform service that the core works through, handed out by the composition root.
#pragma once

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

}  // namespace tavo::platform
