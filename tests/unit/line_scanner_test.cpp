// Lines and term matches of the block reader, with reads of every small size.
#include "lookup/line_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "base/error.h"
#include "fakes/fake_platform.h"

namespace tavo {
namespace {

using Lines = std::vector<std::string>;

// Every read size and block size from one byte up, so that line ends and terms straddle reads.
constexpr std::size_t kSizes[] = {1, 2, 3, 7, 64, LineScanner::kBlockSize};

template <typename Next>
Lines scan(const std::string& content, std::size_t size, Next next) {
  fake::Recorder log;
  fake::FakeFileSystem files(log);
  files.files["f"] = content;
  files.read_size = size;
  const auto file = files.open_read(u"f");
  fake::FakeThreads threads;  // the next block read on a thread of its own
  LineScanner scanner(*file, size, &threads);
  Lines lines;
  while (const auto line = next(scanner)) lines.emplace_back(*line);
  return lines;
}

struct LineCase {
  std::string content;
  Lines lines;
};

TEST(LineScanner, LinesEndAtCrOrCrLfButNotAtALoneLf) {
  const LineCase cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\r", {"a\nb"}},
      {"\r\r", {"", ""}},
      {"\r\n\r\n", {"", ""}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"\n", {"\n"}},
      {"a\r\n\nb", {"a", "\nb"}},
      {"a\r\n\r", {"a", ""}},
      {std::string("x\0y\r\xff", 5), {std::string("x\0y", 3), "\xff"}},
  };
  for (const LineCase& c : cases) {
    for (const std::size_t size : kSizes) {
      EXPECT_EQ(scan(c.content, size, [](LineScanner& s) { return s.next_line(); }), c.lines)
          << "content " << testing::PrintToString(c.content) << ", size " << size;
    }
  }
}

struct MatchCase {
  std::string term;
  std::string content;
  Lines lines;
};

TEST(LineScanner, MatchesLieWhollyInsideOneLine) {
  const std::string long_line = std::string(5000, 'x') + "ab" + std::string(3000, 'y');
  const MatchCase cases[] = {
      {"ab", "xab\r\nab\r\nno\r\n", {"xab", "ab"}},
      {"ab", "abab\r\nab", {"abab", "ab"}},
      {"ab", "a\rb\r\na\r\nb", {}},  // a line end between the two halves
      {"ab", "a", {}},
      {"ab", "zzab", {"zzab"}},
      {"", "a\r\n\r\n\rb", {"a", "b"}},  // every line that is not empty
      {"", "\n", {"\n"}},
      {"a\rb", "a\rb", {}},           // a term with a CR matches nothing
      {"\nx", "a\r\nx\r\n", {}},      // that LF belongs to the line end
      {"\nx", "a\nx\r\n", {"a\nx"}},  // a lone LF is part of the line
      {"a\n", "a\r\nb\r\nxa\nb", {"xa\nb"}},
      {"ws-lab7",
       "banner ws-lab7\r\nip - ws-lab7.corp\r\n",
       {"banner ws-lab7", "ip - ws-lab7.corp"}},
      {"WS", "ws\r\nWs\r\nWS", {"WS"}},  // case counts
      {"ab", long_line + "\r\nq\r\nab", {long_line, "ab"}},
      {"zz", long_line + "\r\nzz", {"zz"}},
      {"ab", "\r\n\r\nab\r\n\r\n", {"ab"}},
  };
  for (const MatchCase& c : cases) {
    for (const std::size_t size : kSizes) {
      const Term term(c.term);
      EXPECT_EQ(scan(c.content, size, [&](LineScanner& s) { return s.next_match(term); }), c.lines)
          << "term " << testing::PrintToString(c.term) << ", content "
          << testing::PrintToString(c.content.substr(0, 40)) << ", size " << size;
    }
  }
}

// Shift-JIS (code page 932): 0x81-0x9F and 0xE0-0xFC begin a two-byte character whose second
// byte may be any of 0x40-0xFC, ASCII letters among them.
platform::LeadBytes shift_jis() {
  platform::LeadBytes lead{};
  for (unsigned byte = 0x81; byte <= 0xFC; ++byte) lead[byte] = byte <= 0x9F || byte >= 0xE0;
  return lead;
}

TEST(LineScanner, OnDoubleByteCodePagesAMatchBeginsOnACharacter) {
  const std::string lead = "\x83";
  const std::string kana_a = lead + "A";                    // its second byte is that of "A"
  const std::string long_kana = std::string(3000, '\x82');  // 1500 two-byte characters
  const MatchCase cases[] = {
      {"AB", kana_a + "B\r\n", {}},                // "AB" from a second byte on
      {"AB", kana_a + "AB\r\n", {kana_a + "AB"}},  // and again on a character
      {"AB", "x" + kana_a + "B\r\nAB", {"AB"}},
      {"AB", lead + lead + "AB\r\n", {lead + lead + "AB"}},  // 83 83 is one character
      {"AB", lead + lead + lead + "AB\r\n", {}},             // and then 83 41 is another
      {kana_a, "A" + kana_a + "\r\n", {"A" + kana_a}},
      {"AB", lead + "\r\nAB", {"AB"}},  // a lead byte cut off by the line end
      {"AB", long_kana + lead + "AB", {}},
      {"AB", long_kana + lead + "AAB", {long_kana + lead + "AAB"}},
  };
  for (const MatchCase& c : cases) {
    for (const std::size_t size : kSizes) {
      const Term term(c.term, shift_jis());
      EXPECT_EQ(scan(c.content, size, [&](LineScanner& s) { return s.next_match(term); }), c.lines)
          << "term " << testing::PrintToString(c.term) << ", content "
          << testing::PrintToString(c.content.substr(0, 40)) << ", size " << size;
    }
  }
}

// The system copies into page-aligned memory fastest, so every read must land on a page, however
// long the lines before it were, read in turn or two at once, and also when the reader's thread
// loses its processor for a while and is left. A read after the first block that fails, in the
// caller's thread or in the reader's, passes to the caller.
struct Recording final : platform::InputFile {
  struct Shared {  // by the file opened again for the reader's thread
    std::string content;
    bool fail_after_first = false;
    bool slow_elsewhere = false;  // a read in another thread than the caller's takes 10 ms
    std::thread::id caller = std::this_thread::get_id();
    std::mutex lock;
    std::vector<std::uintptr_t> misses;  // the place in its page of each read that missed one
  };
  std::shared_ptr<Shared> shared = std::make_shared<Shared>();
  std::size_t at = 0;
  std::size_t read(char* buffer, std::size_t size) override {
    const std::size_t n = read_at(at, buffer, size);
    at += n;
    return n;
  }
  std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size) override {
    Shared& s = *shared;
    if (s.fail_after_first && offset > 0) throw Error("cannot read f: I/O error");
    if (s.slow_elsewhere && std::this_thread::get_id() != s.caller) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const std::size_t n =
        s.content.copy(buffer, size, std::min<std::size_t>(offset, s.content.size()));
    const auto place = reinterpret_cast<std::uintptr_t>(buffer) % 4096;
    const std::lock_guard<std::mutex> held(s.lock);
    if (n > 0 && place != 0) s.misses.push_back(place);
    return n;
  }
  std::unique_ptr<platform::InputFile> open_again() const override {
    auto again = std::make_unique<Recording>();
    again->shared = shared;
    return again;
  }
};

TEST(LineScanner, ReadsLandOnPageBoundariesAndFailuresPassOn) {
  fake::FakeThreads threads;
  const Term term("y");
  struct Way {
    platform::Threads* threads;
    bool slow_elsewhere;
  };
  for (const Way way : {Way{nullptr, false}, Way{&threads, false}, Way{&threads, true}}) {
    for (const bool matches : {false, true}) {
      Recording file;
      Recording::Shared& s = *file.shared;
      s.slow_elsewhere = way.slow_elsewhere;
      for (int i = 0; s.content.size() < 6 * LineScanner::kBlockSize; ++i) {
        s.content += std::string(static_cast<std::size_t>(i % 97), 'x') + "y\r\n";
      }
      SCOPED_TRACE(std::string(matches ? "next_match" : "next_line") +
                   (way.threads ? ", threads" : "") + (way.slow_elsewhere ? ", slow" : ""));
      LineScanner scanner(file, LineScanner::kBlockSize, way.threads);
      std::size_t lines = 0;
      while (matches ? scanner.next_match(term) : scanner.next_line()) ++lines;
      EXPECT_EQ(lines, std::count(s.content.begin(), s.content.end(), 'y'));
      EXPECT_EQ(s.misses, std::vector<std::uintptr_t>{});
      file.at = 0;
      s.fail_after_first = true;
      LineScanner failing(file, LineScanner::kBlockSize, way.threads);
      EXPECT_THROW(while (matches ? failing.next_match(term) : failing.next_line()){}, Error);
    }
  }
}

}  // namespace
}  // namespace tavo
