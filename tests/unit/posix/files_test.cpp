// Files, programs and threads of the Linux build.
#include "platform/files.h"

#include <gtest/gtest.h>
#include <sched.h>

#include "base/error.h"
#include "fakes/scoped_environment.h"
#include "platform/programs.h"
#include "platform/threads.h"

namespace tavo::platform {
namespace {

TEST(FileSystem, AppendsRemovesAndReportsFailures) {
  const fake::FreshFolder fresh;
  const std::string path = fresh / "file";
  const auto files = make_file_system();
  std::u16string wide(path.begin(), path.end());
  for (int round = 0; round < 2; ++round) {
    auto file = files->open_append(wide, Encoding::oem);
    file->write(u"\u00e4\r\n");
    file->close();
    EXPECT_THROW(file->write(u"x"), Error);
  }
  // The end is read and cut, and the next write goes where it was.
  auto file = files->open_append(wide, Encoding::ansi);
  file->write(u"x\x1A\x1A");
  EXPECT_EQ(file->last_bytes(3), "x\x1A\x1A");
  EXPECT_EQ(file->last_bytes(99).size(), 11U);
  file->cut_end(2);
  file->write(u"y");
  file->close();
  EXPECT_EQ(fresh.read("file"), "\xC3\xA4\r\n\xC3\xA4\r\nxy");
  files->remove(wide);
  EXPECT_THROW(files->remove(wide), Error);
  EXPECT_THROW(files->open_append(u"/no/such/folder/file", Encoding::ansi), Error);
  EXPECT_THROW(make_programs()->start_script(wide, kShowMinimized), Error);
}

// Which files may be read, and that opening for writing cuts a file, the program suites check.
TEST(FileSystem, TextIsUtf8) {
  const auto files = make_file_system();
  EXPECT_EQ(files->decode("\xC3\xA4\xFF"), u"\u00e4\uFFFD");
  EXPECT_EQ(files->encode(u"\u00e4", Encoding::ansi), "\xC3\xA4");
  EXPECT_EQ(files->encode(std::u16string(1, u'\xD800'), Encoding::oem), std::nullopt);
  EXPECT_THROW(files->open_write(u"/no/such/folder/file"), Error);
}

// Pinned to one processor (taskset, a container's share), the process has one to run on.
TEST(Threads, ProcessorsAreThoseTheAffinityAllows) {
  cpu_set_t saved;
  ASSERT_EQ(sched_getaffinity(0, sizeof saved, &saved), 0);
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(static_cast<std::size_t>(sched_getcpu()), &one);
  ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
  EXPECT_EQ(make_threads()->processors(), 1U);
  sched_setaffinity(0, sizeof saved, &saved);
  EXPECT_EQ(make_threads()->processors(), static_cast<unsigned>(CPU_COUNT(&saved)));
}

}  // namespace
}  // namespace tavo::platform
