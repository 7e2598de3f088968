// Where the Windows places are on this system: paths, and the user's own folders.
#pragma once

#include <string>
#include <string_view>

namespace tavo::platform::posix {

// A Windows-style path on this file system: backslashes become slashes and a leading drive
// letter with its colon is dropped, so "c:\\autoexec.bat" is "/autoexec.bat" and
// "\\wmac.cmd" is "/wmac.cmd". The lookup's folder "c:\\temp" (any case) is the user's state
// folder, state_folder(). The result is UTF-8.
std::string to_posix_path(std::u16string_view path);

// The value of the variable `name`, without trailing slashes; `otherwise` when it is unset or
// not an absolute path. A relative value is ignored, as the XDG base directory rules say: it
// would name a different folder in every current folder.
std::string folder_from(const char* name, const std::string& otherwise);

// $HOME, or "." without it.
std::string home_folder();

// Creates `folder` and its missing parents, each with mode 0700; an existing one is left as it
// is. A failure shows when a file in it is opened. Each folder is made once a process: each
// match of a lookup opens files in them.
void make_private_folder(const std::string& folder);

// The user's own folder that stands in for "c:\\temp": $XDG_STATE_HOME/tavo, or
// ~/.local/state/tavo, so that the lookup's log survives a reboot and no other user can plant a
// file in it. Made when missing.
std::string state_folder();

}  // namespace tavo::platform::posix
