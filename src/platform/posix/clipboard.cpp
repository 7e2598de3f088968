// The desktop clipboard through wl-copy or xclip.
#include "platform/posix/clipboard.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "platform/posix/utf.h"

extern char** environ;

namespace tavo::platform::posix {

namespace {

// Linux refuses to start a program with a variable of 128 KiB or more (MAX_ARG_STRLEN).
constexpr std::size_t kLongestVariable = 128 * 1024;

bool is_set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// True when `tool` is an executable file in a folder of PATH, as posix_spawnp would find it.
bool installed(const std::string& tool) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/bin:/usr/bin";  // the C library's default
  while (true) {
    const std::size_t end = std::min(folders.find(':'), folders.size());
    // An empty entry is the current folder, as the shell reads it.
    const std::string folder(end == 0 ? std::string_view(".") : folders.substr(0, end));
    const std::string file = folder + "/" + tool;
    struct stat status {};
    if (::stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        ::access(file.c_str(), X_OK) == 0) {
      return true;
    }
    if (end == folders.size()) return false;
    folders.remove_prefix(end + 1);
  }
}

// The clipboard tool that this session can reach: wl-copy on a Wayland desktop, else xclip on
// an X11 one (a Wayland desktop also runs X11 programs, with both variables set). Empty when
// there is no session, or no tool for it is installed: there is then no clipboard to share.
std::vector<std::string> clipboard_command(bool clear) {
  if (is_set("WAYLAND_DISPLAY") && installed("wl-copy")) {
    return clear ? std::vector<std::string>{"wl-copy", "--clear"}
                 : std::vector<std::string>{"wl-copy", "--type", "text/plain;charset=utf-8"};
  }
  if (is_set("DISPLAY") && installed("xclip")) return {"xclip", "-selection", "clipboard", "-in"};
  return {};
}

// Runs the tool with `input` on its standard input; its output goes to /dev/null, so a tool
// that stays behind to serve the selection never holds our standard output open.
void run_tool(const std::vector<std::string>& command, const std::string& input) {
  int pipe_ends[2];
  if (pipe2(pipe_ends, O_CLOEXEC) != 0) throw Error("clipboard: cannot create a pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  // tavo ignores SIGPIPE; the tool gets the default back.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  // The tool gets tavo's environment less any variable too long to pass to a program (a large
  // TAVO), which would make it fail to start at all.
  std::vector<char*> variables;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    if (std::strlen(*variable) < kLongestVariable) variables.push_back(*variable);
  }
  variables.push_back(nullptr);
  pid_t child = 0;
  const int spawned =
      posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), variables.data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[0]);
  if (spawned != 0) {
    close(pipe_ends[1]);
    throw Error("clipboard: cannot start " + command[0] + ": " + std::strerror(spawned));
  }
  std::size_t written = 0;
  while (written < input.size()) {
    const ssize_t n = write(pipe_ends[1], input.data() + written, input.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  close(pipe_ends[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (written != input.size() || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw Error("clipboard: " + command[0] + " failed");
  }
}

}  // namespace

void DesktopClipboard::clear() {
  const auto command = clipboard_command(true);
  if (!command.empty()) run_tool(command, "");
}

void DesktopClipboard::set_text(std::u16string_view text) {
  const auto command = clipboard_command(false);
  if (!command.empty()) run_tool(command, to_utf8(text));
}

}  // namespace tavo::platform::posix
