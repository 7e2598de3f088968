// What tavo answers instead of converting: a short usage and its version.
#pragma once

#include <string>
#include <string_view>

namespace tavo {

// The project's version, as CMake's project() gives it.
inline constexpr std::string_view kVersion = TAVO_VERSION;

// What the usage says of the system it runs on.
struct UsageFacts {
  std::string_view program;     // "tavo" or "tavo.exe"
  std::string_view answered;    // the texts answered like this one
  std::string_view rest;        // where the rest is told
  std::string_view tavo_store;  // where TAVO is kept for later programs, on this system
  std::string_view line_end;
};

inline constexpr UsageFacts kLinuxUsage{"tavo", "--help, -h or --version", "man tavo",
                                        "in the registry's stand-in, ~/.config/tavo/registry",
                                        "\n"};
inline constexpr UsageFacts kNtUsage{"tavo.exe", "/?", "guide.txt",
                                     "for later programs under HKEY_CURRENT_USER\\Environment",
                                     "\r\n"};
inline constexpr UsageFacts k9xUsage{
    "tavo.exe", "/?", "guide.txt",
    "for the next start of Windows in a SET line of c:\\autoexec.bat", "\r\n"};

// The usage: the switches with one example each, the lookup, where each result goes and the
// exit statuses, in lines of at most 79 characters, each ended by `facts.line_end`.
std::string usage(const UsageFacts& facts);

}  // namespace tavo
