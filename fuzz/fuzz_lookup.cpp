// Fuzzes the search of a listing, alone or in two halves, against a plain reference, and the
// whole lookup over generated files.
#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "base/cut.h"
#include "base/error.h"
#include "fakes/fake_platform.h"
#include "frontend/form1.h"
#include "fuzz_input.h"
#include "lookup/lease_line.h"
#include "lookup/listing_search.h"
#include "lookup/term.h"

namespace {

// The lines of `content` as the rules read them, the simple way.
std::vector<std::string> reference_lines(const std::string& content) {
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (content[i] == '\r') {
      lines.push_back(line);
      line.clear();
      pending = false;
      if (i + 1 < content.size() && content[i + 1] == '\n') ++i;
    } else {
      line.push_back(content[i]);
      pending = true;
    }
  }
  if (pending) lines.push_back(line);
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavo::fuzz::Input input(data, size);
  const std::uint8_t mode = input.byte();
  const std::size_t read_size = 1 + mode % 16;
  // The search in plain words, with SSE2, or with AVX2 where the processor has it.
  using tavo::platform::Vectors;
  Vectors vectors = (mode & 0x10) == 0 ? Vectors::none : Vectors::sse2;
#if defined(__x86_64__) || defined(__i386__)
  if ((mode & 0x90) == 0x90 && __builtin_cpu_supports("avx2")) vectors = Vectors::avx2;
#endif
  std::string term = input.piece('\x01');
  if (term.size() > 64) term.resize(64);
  const std::string content = input.piece('\x02');
  const std::string index = input.piece('\x02');

  std::vector<std::string> expected;
  if (term.find('\r') == std::string::npos) {
    for (const std::string& line : reference_lines(content)) {
      if (!line.empty() && line.find(term) != std::string::npos) expected.push_back(line);
    }
  }
  // With its second half on a thread of its own or not.
  const std::uint8_t way = input.byte();
  tavo::fake::Recorder log;
  tavo::fake::FakeFileSystem files(log);
  files.files["f"] = content;
  files.read_size = read_size;
  tavo::fake::FakeThreads threads;
  const auto file = files.open_read(u"f");
  const tavo::ReadSizes sizes{read_size, std::max(read_size, term.size())};
  tavo::ReadBuffer buffer(sizes);
  tavo::Term searcher(term, {}, vectors);
  // The search itself against the plain one, tuned to a first block of the content or not,
  // from the start and on from each hit, and at the very end of the text.
  if ((mode & 0x20) != 0) searcher.tune(std::string_view(content).substr(0, read_size * 16));
  for (std::size_t from = 0;; ++from) {
    const std::size_t expected_at =
        from > content.size() ? std::string::npos : content.find(term, from);
    if (searcher.find(content, from) != expected_at) tavo::fuzz::violated();
    if (expected_at == std::string::npos) break;
    from = expected_at;  // on from the next place after each hit
  }
  for (const std::size_t from : {content.size(), content.size() + 1}) {
    if (searcher.find(content, from) != content.find(term, from)) tavo::fuzz::violated();
  }
  std::vector<std::string> found;
  const bool split = (way & 1) != 0;
  tavo::ListingSearch search(*file, searcher, buffer, split ? &threads : nullptr,
                             split ? 0 : std::numeric_limits<std::uint64_t>::max());
  while (const auto line = search.next()) found.emplace_back(*line);
  if (found != expected) tavo::fuzz::violated();

  // The lookup itself, over an index that may name the listing, itself, or nothing at all. Over
  // an index that names the listing alone, it logs one entry for each lease line that holds the
  // term (the third word), counted the plain way.
  const bool listing_alone = (mode & 0x40) != 0;
  tavo::fake::FakePlatform platform;
  platform.files.files["idx"] = listing_alone ? "f\r\n" : index;
  platform.files.files["f"] = content;
  platform.files.read_size = read_size;
  tavo::Form1 form(platform.services);
  std::u16string wert = u"/dhcp idx ";
  for (const char c : term) wert.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  try {
    form.readdhcp(wert);
  } catch (const tavo::Error&) {
    if (listing_alone) tavo::fuzz::violated();
  }
  if (listing_alone) {
    const std::u16string word = tavo::split_words(wert).at(2);
    const std::optional<std::string> bytes =
        platform.files.encode(word, tavo::platform::Encoding::ansi);
    std::size_t leases = 0;
    for (const std::string& line : reference_lines(content)) {
      if (bytes && !line.empty() && bytes->find('\r') == std::string::npos &&
          line.find(*bytes) != std::string::npos &&
          tavo::parse_lease_line(platform.files.decode(line))) {
        ++leases;
      }
    }
    if (platform.log.calls_of({"clock.date"}).size() != leases) tavo::fuzz::violated();
  }
  return 0;
}
