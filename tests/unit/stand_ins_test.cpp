// The POSIX stand-ins: paths and folders, environment, the registry file, files and programs.
#include "platform/posix/folders.h"
#include "platform/posix/services.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/error.h"
#include "platform/posix/utf.h"

namespace tavo::platform::posix {
namespace {

TEST(ToPosixPath, MapsWindowsStylePaths) {
  EXPECT_EQ(to_posix_path(u"c:\\autoexec.bat"), "/autoexec.bat");
  EXPECT_EQ(to_posix_path(u"\\wmac.cmd"), "/wmac.cmd");
  EXPECT_EQ(to_posix_path(u"/tmp/x\\wmac.cmd"), "/tmp/x/wmac.cmd");
  EXPECT_EQ(to_posix_path(u"rel\\file.txt"), "rel/file.txt");
  EXPECT_EQ(to_posix_path(u"1:\\x"), "1:/x");  // not a drive letter
}

// A fresh folder under the system's temporary one, removed at the end of the test.
struct FreshFolder {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tavo-stand-ins-" + std::to_string(getpid()));
  FreshFolder() { std::filesystem::remove_all(path); }
  ~FreshFolder() { std::filesystem::remove_all(path); }
};

TEST(ToPosixPath, TheLookupsFolderIsTheUsersStateFolderMadePrivate) {
  const FreshFolder fresh;
  const std::string state = fresh.path.string() + "/state";
  setenv("XDG_STATE_HOME", (state + "/").c_str(), 1);
  EXPECT_EQ(to_posix_path(u"c:\\temp\\datas.txt"), state + "/tavo/datas.txt");
  EXPECT_EQ(to_posix_path(u"C:\\TEMP\\findout.txt"), state + "/tavo/findout.txt");
  EXPECT_EQ(to_posix_path(u"c:\\temporary\\x"), "/temporary/x");
  struct stat status {};
  ASSERT_EQ(stat((state + "/tavo").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700U);  // made when missing, for the user alone
  setenv("XDG_STATE_HOME", "st", 1);        // relative: ignored, as if unset
  setenv("XDG_CONFIG_HOME", "cf", 1);
  const char* saved_home = std::getenv("HOME");
  const std::string old_home = saved_home != nullptr ? saved_home : "";
  const std::string home = fresh.path.string() + "/home";
  setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(to_posix_path(u"c:\\temp\\datas.txt"), home + "/.local/state/tavo/datas.txt");
  EXPECT_EQ(FileRegistry::file_path(), home + "/.config/tavo/registry");
  // An unset or relative HOME is the password database's home, never the current folder.
  const passwd* user = getpwuid(getuid());
  ASSERT_NE(user, nullptr);
  for (const char* unusable : {"relhome", static_cast<const char*>(nullptr)}) {
    if (unusable != nullptr) setenv("HOME", unusable, 1);
    if (unusable == nullptr) unsetenv("HOME");
    EXPECT_EQ(FileRegistry::file_path(), std::string(user->pw_dir) + "/.config/tavo/registry");
  }
  setenv("HOME", old_home.c_str(), 1);
  unsetenv("XDG_STATE_HOME");
  unsetenv("XDG_CONFIG_HOME");
}

TEST(PosixEnvironment, MatchesNamesWithoutCaseAndAlwaysHasTemp) {
  PosixEnvironment environment;
  ASSERT_TRUE(environment.set(u"TAVO_TEST_VALUE", u"a b"));
  EXPECT_EQ(environment.get(u"tavo_test_value"), u"a b");
  EXPECT_TRUE(environment.set(u"TAVO_TEST_VALUE", u""));
  EXPECT_EQ(environment.get(u"TAVO_TEST_VALUE"), u"");
  EXPECT_FALSE(environment.set(u"A=B", u"1"));
  unsetenv("temp");
  unsetenv("TEMP");
  // Without "temp", the script goes to the user's runtime folder, else to the state folder.
  const FreshFolder fresh;
  setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
  EXPECT_EQ(environment.get(u"temp"), u"/run/user/1000");
  setenv("XDG_RUNTIME_DIR", "run", 1);  // relative: ignored, as if unset
  setenv("XDG_STATE_HOME", fresh.path.c_str(), 1);
  EXPECT_EQ(environment.get(u"temp"), from_utf8(fresh.path.string() + "/tavo"));
  unsetenv("XDG_STATE_HOME");
  unsetenv("XDG_RUNTIME_DIR");
}

class FileRegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("tavo-registry-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir_);
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    unsetenv("XDG_CONFIG_HOME");
  }
  static std::string stored() {
    std::ifstream in(FileRegistry::file_path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::filesystem::path dir_;
};

TEST_F(FileRegistryTest, KeepsOneLinePerValueAndEscapesControlCharacters) {
  FileRegistry registry;
  Registry::Key key = 0;
  ASSERT_EQ(registry.create_key(kCurrentUser, u"Environment", key), 0);
  EXPECT_EQ(registry.set_string(key, u"TAVO", u"one"), 0);
  EXPECT_EQ(registry.set_string(key, u"tavo", u"t\tw\\o\n"), 0);  // same name, other case
  EXPECT_EQ(registry.close_key(key), 0);
  ASSERT_EQ(registry.create_key(kLocalMachine, u"SYSTEM\\X", key), 0);
  EXPECT_EQ(registry.set_string(key, u"TAVO", u""), 0);
  EXPECT_EQ(stored(),
            "HKEY_CURRENT_USER\tEnvironment\ttavo\tt\\tw\\\\o\\n\n"
            "HKEY_LOCAL_MACHINE\tSYSTEM\\\\X\tTAVO\t\n");
}

TEST_F(FileRegistryTest, RefusesUnknownRootsAndKeys) {
  FileRegistry registry;
  Registry::Key key = 99;
  EXPECT_NE(registry.create_key(0x80000000, u"Environment", key), 0);
  EXPECT_EQ(key, 0u);
  EXPECT_NE(registry.set_string(7, u"TAVO", u"x"), 0);
  EXPECT_NE(registry.close_key(0), 0);
}

TEST(PosixFileSystem, AppendsRemovesAndReportsFailures) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("tavo-file-" + std::to_string(getpid()))).string();
  PosixFileSystem files;
  std::u16string wide(path.begin(), path.end());
  for (int round = 0; round < 2; ++round) {
    auto file = files.open_append(wide, Encoding::oem);
    file->write(u"\u00e4\r\n");
    file->close();
    EXPECT_THROW(file->write(u"x"), Error);
  }
  // The end is read and cut, and the next write goes where it was.
  auto file = files.open_append(wide, Encoding::ansi);
  file->write(u"x\x1A\x1A");
  EXPECT_EQ(file->last_bytes(3), "x\x1A\x1A");
  EXPECT_EQ(file->last_bytes(99).size(), 11U);
  file->cut_end(2);
  file->write(u"y");
  file->close();
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "\xC3\xA4\r\n\xC3\xA4\r\nxy");
  files.remove(wide);
  EXPECT_THROW(files.remove(wide), Error);
  EXPECT_THROW(files.open_append(u"/no/such/folder/file", Encoding::ansi), Error);
  EXPECT_THROW(NoPrograms().start_script(wide, kShowMinimized), Error);
}

// Which files may be read, and that opening for writing cuts a file, the program suites check.
TEST(PosixFileSystem, TextIsUtf8) {
  PosixFileSystem files;
  EXPECT_EQ(files.decode("\xC3\xA4\xFF"), u"\u00e4\uFFFD");
  EXPECT_EQ(files.encode(u"\u00e4", Encoding::ansi), "\xC3\xA4");
  EXPECT_EQ(files.encode(std::u16string(1, u'\xD800'), Encoding::oem), std::nullopt);
  EXPECT_THROW(files.open_write(u"/no/such/folder/file"), Error);
}

// Pinned to one processor (taskset, a container's share), the process has one to run on.
TEST(PosixThreads, ProcessorsAreThoseTheAffinityAllows) {
  cpu_set_t saved;
  ASSERT_EQ(sched_getaffinity(0, sizeof saved, &saved), 0);
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(static_cast<std::size_t>(sched_getcpu()), &one);
  ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
  EXPECT_EQ(PosixThreads().processors(), 1U);
  sched_setaffinity(0, sizeof saved, &saved);
  EXPECT_EQ(PosixThreads().processors(), static_cast<unsigned>(CPU_COUNT(&saved)));
}

}  // namespace
}  // namespace tavo::platform::posix
