// Where the Linux build keeps what Windows keeps in its own places, and the environment that
// names them.
#include "platform/posix/folders.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>

#include "fakes/scoped_environment.h"
#include "platform/environment.h"
#include "platform/posix/utf.h"

namespace tavo::platform::posix {
namespace {

using fake::FreshFolder;
using fake::ScopedEnvironment;

TEST(ToPosixPath, MapsWindowsStylePaths) {
  EXPECT_EQ(to_posix_path(u"c:\\autoexec.bat"), "/autoexec.bat");
  EXPECT_EQ(to_posix_path(u"\\wmac.cmd"), "/wmac.cmd");
  EXPECT_EQ(to_posix_path(u"/tmp/x\\wmac.cmd"), "/tmp/x/wmac.cmd");
  EXPECT_EQ(to_posix_path(u"rel\\file.txt"), "rel/file.txt");
  EXPECT_EQ(to_posix_path(u"1:\\x"), "1:/x");  // not a drive letter
}

TEST(ToPosixPath, TheLookupsFolderIsTheUsersStateFolderMadePrivate) {
  const FreshFolder fresh;
  ScopedEnvironment environment;
  const std::string state = fresh / "state";
  environment.set("XDG_STATE_HOME", (state + "/").c_str());
  EXPECT_EQ(to_posix_path(u"c:\\temp\\datas.txt"), state + "/tavo/datas.txt");
  EXPECT_EQ(to_posix_path(u"C:\\TEMP\\findout.txt"), state + "/tavo/findout.txt");
  EXPECT_EQ(to_posix_path(u"c:\\temporary\\x"), "/temporary/x");
  struct stat status {};
  ASSERT_EQ(stat((state + "/tavo").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700U);  // made when missing, for the user alone
  environment.set("XDG_STATE_HOME", "st");  // relative: ignored, as if unset
  environment.set("XDG_CONFIG_HOME", "cf");
  const std::string home = fresh / "home";
  environment.set("HOME", home.c_str());
  EXPECT_EQ(to_posix_path(u"c:\\temp\\datas.txt"), home + "/.local/state/tavo/datas.txt");
  EXPECT_EQ(user_folder("XDG_CONFIG_HOME", "/.config"), home + "/.config");
  // An unset or relative HOME is the password database's home, never the current folder.
  const passwd* user = getpwuid(getuid());
  ASSERT_NE(user, nullptr);
  for (const char* unusable : {"relhome", static_cast<const char*>(nullptr)}) {
    environment.set("HOME", unusable);
    EXPECT_EQ(user_folder("XDG_CONFIG_HOME", "/.config"), std::string(user->pw_dir) + "/.config");
  }
}

TEST(ProcessEnvironment, MatchesNamesWithoutCaseAndAlwaysHasTemp) {
  const auto process = make_environment();
  ScopedEnvironment environment;
  environment.set("TAVO_TEST_VALUE", nullptr);
  ASSERT_TRUE(process->set(u"TAVO_TEST_VALUE", u"a b"));
  EXPECT_EQ(process->get(u"tavo_test_value"), u"a b");
  EXPECT_TRUE(process->set(u"TAVO_TEST_VALUE", u""));
  EXPECT_EQ(process->get(u"TAVO_TEST_VALUE"), u"");
  EXPECT_FALSE(process->set(u"A=B", u"1"));
  environment.set("temp", nullptr);
  environment.set("TEMP", nullptr);
  // Without "temp", the script goes to the user's runtime folder, else to the state folder.
  const FreshFolder fresh;
  environment.set("XDG_RUNTIME_DIR", "/run/user/1000");
  EXPECT_EQ(process->get(u"temp"), u"/run/user/1000");
  environment.set("XDG_RUNTIME_DIR", "run");  // relative: ignored, as if unset
  environment.set("XDG_STATE_HOME", fresh.path.c_str());
  EXPECT_EQ(process->get(u"temp"), from_utf8(fresh / "tavo"));
}

}  // namespace
}  // namespace tavo::platform::posix
