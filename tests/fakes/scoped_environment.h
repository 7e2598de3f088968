// A test's own environment variables and scratch folder, put back and removed when the test
// ends, also when an assertion ends it early.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavo::fake {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (auto at = saved_.rbegin(); at != saved_.rend(); ++at) {
      if (at->second) setenv(at->first.c_str(), at->second->c_str(), 1);
      if (!at->second) unsetenv(at->first.c_str());
    }
  }
  // Sets `name` to `value` for the test; a null `value` unsets it.
  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    if (value != nullptr) setenv(name, value, 1);
    if (value == nullptr) unsetenv(name);
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// A fresh folder under the system's temporary one, removed at the end of the test. Each has a
// name of its own: tavo makes each of its folders only once a process.
struct FreshFolder {
  inline static int made = 0;
  std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("tavo-unit-" + std::to_string(getpid()) + "-" + std::to_string(++made));
  FreshFolder() { std::filesystem::remove_all(path); }
  ~FreshFolder() { std::filesystem::remove_all(path); }
  FreshFolder(const FreshFolder&) = delete;
  FreshFolder& operator=(const FreshFolder&) = delete;
  std::string operator/(const char* name) const { return (path / name).string(); }
};

}  // namespace tavo::fake
