// Where the Windows places are on this system: paths, and the user's own folders.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavo::platform::posix {

// A Windows-style path on this file system: backslashes become slashes and a leading drive
// letter with its colon is dropped, so "c:\\autoexec.bat" is "/autoexec.bat" and
// "\\wmac.cmd" is "/wmac.cmd". The lookup's folder "c:\\temp" (any case) is the user's state
// folder, state_folder(), and throws as that does. The result is UTF-8.
std::string to_posix_path(std::u16string_view path);

// The value of the variable `name`, without trailing slashes; nullopt when it is unset or not an
// absolute path. A relative value is ignored, as the XDG base directory rules say: it would name
// a different folder in every current folder.
std::optional<std::string> absolute_folder(const char* name);

// The user's home: $HOME when it is an absolute path, else the home that the password database
// gives the user (a systemd service, `env -i` and cron may leave HOME unset); nullopt when
// neither names an absolute path.
std::optional<std::string> home_folder();

// The folder that `variable` names, else the home folder followed by `under_home`. Without
// either, the first call in a process writes "tavo: no home folder: ..." on standard error,
// and every call throws tavo::Error: nothing is ever kept in the current folder instead.
std::string user_folder(const char* variable, std::string_view under_home);

// Creates `folder` and its missing parents, each with mode 0700; an existing one is left as it
// is. A failure shows when a file in it is opened. Each folder is made once a process: each
// match of a lookup opens files in them.
void make_private_folder(const std::string& folder);

// The user's own folder that stands in for "c:\\temp": $XDG_STATE_HOME/tavo, or
// ~/.local/state/tavo, so that the lookup's log survives a reboot and no other user can plant a
// file in it. Made when missing. Throws tavo::Error as user_folder does.
std::string state_folder();

}  // namespace tavo::platform::posix
