// A test's own environment variables and scratch folder, put back and removed when the test
// ends, also when an assertion ends it early.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavo::fake {

class ScopedEnvironment {
 public:
  ~ScopedEnvironment() {
    for (auto at = saved_.rbegin(); at != saved_.rend(); ++at) put(at->first, at->second);
  }
  // Sets `name` to `value` for the test; a null `value` unsets it.
  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    put(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
  }

 private:
  static void put(const std::string& name, const std::optional<std::string>& value) {
    if (value) setenv(name.c_str(), value->c_str(), 1);
    if (!value) unsetenv(name.c_str());
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// A fresh folder under the system's temporary one, removed at the end of the test. Each has a
// name of its own: tavo makes each of its folders only once a process.
struct FreshFolder {
  inline static int made = 0;
  std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("tavo-unit-" + std::to_string(getpid()) + "-" + std::to_string(++made));
  FreshFolder() {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~FreshFolder() { std::filesystem::remove_all(path); }
  std::string operator/(const char* name) const { return (path / name).string(); }
  // The bytes of the file `name` in the folder; empty where there is none.
  std::string read(const char* name) const {
    std::ifstream in(path / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

}  // namespace tavo::fake
