// The registry file of the Linux build.
#include "platform/registry.h"

#include <gtest/gtest.h>

#include "fakes/scoped_environment.h"

namespace tavo::platform {
namespace {

class FileRegistry : public testing::Test {
 protected:
  void SetUp() override { environment_.set("XDG_CONFIG_HOME", folder_.path.c_str()); }
  std::string stored() const { return folder_.read("tavo/registry"); }
  std::unique_ptr<Registry> registry_ = make_registry();

 private:
  fake::FreshFolder folder_;
  fake::ScopedEnvironment environment_;
};

TEST_F(FileRegistry, KeepsOneLinePerValueAndEscapesControlCharacters) {
  Registry::Key key = 0;
  ASSERT_EQ(registry_->create_key(kCurrentUser, u"Environment", key), 0);
  EXPECT_EQ(registry_->set_string(key, u"TAVO", u"one"), 0);
  EXPECT_EQ(registry_->set_string(key, u"tavo", u"t\tw\\o\n"), 0);  // same name, other case
  EXPECT_EQ(registry_->close_key(key), 0);
  ASSERT_EQ(registry_->create_key(kLocalMachine, u"SYSTEM\\X", key), 0);
  EXPECT_EQ(registry_->set_string(key, u"TAVO", u""), 0);
  EXPECT_EQ(stored(),
            "HKEY_CURRENT_USER\tEnvironment\ttavo\tt\\tw\\\\o\\n\n"
            "HKEY_LOCAL_MACHINE\tSYSTEM\\\\X\tTAVO\t\n");
}

TEST_F(FileRegistry, RefusesUnknownRootsAndKeys) {
  Registry::Key key = 99;
  EXPECT_NE(registry_->create_key(0x80000000, u"Environment", key), 0);
  EXPECT_EQ(key, 0u);
  EXPECT_NE(registry_->set_string(7, u"TAVO", u"x"), 0);
  EXPECT_NE(registry_->close_key(0), 0);
}

}  // namespace
}  // namespace tavo::platform
