// The lines of one listed file that hold the term, the second half of a large one searched on a
// thread of its own.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/byte_reader.h"
#include "lookup/line_scanner.h"
#include "lookup/term.h"
#include "platform/files.h"
#include "platform/threads.h"

namespace tavo {

// Hands out the lines of a file that hold a term, in file order. Where the file is at least
// `kSplitFrom` bytes long and a second processor is free (`threads`), the lines that begin in
// its second half are found meanwhile on a thread of its own, through the file opened again,
// and kept until the first half's are handed out. A thread that cannot be started, or a file
// that cannot be opened again, leaves the caller to search alone.
class ListingSearch {
 public:
  static constexpr std::uint64_t kSplitFrom = 16 * 1024 * 1024;

  // `file`, `term`, `buffer` and `threads` must outlive the search.
  ListingSearch(platform::InputFile& file, const Term& term, ReadBuffer& buffer,
                platform::Threads* threads, std::uint64_t split_from = kSplitFrom);
  // Waits for the thread.
  ~ListingSearch();
  ListingSearch(const ListingSearch&) = delete;
  ListingSearch& operator=(const ListingSearch&) = delete;

  // The next line that holds the term, or nullopt after the last; valid until the next call. A
  // failure in either half passes to the caller once the lines before it are handed out.
  std::optional<std::string_view> next();

 private:
  // The second half: its own reader and scanner, and the lines they found.
  struct Half {
    Half(const platform::InputFile& listing, std::uint64_t from, const Term& term,
         const ReadSizes& sizes);
    void run();
    std::unique_ptr<platform::InputFile> file;
    ReadBuffer buffer;
    ByteReader reader;
    LineScanner scanner;
    std::vector<std::string> lines;
    std::exception_ptr failure;
  };

  ByteReader reader_;
  LineScanner scanner_;
  std::uint64_t middle_ = 0;
  std::unique_ptr<Half> second_;
  std::unique_ptr<platform::Thread> thread_;  // last: it ends before what it uses goes
  std::size_t handed_ = 0;                    // lines of the second half handed out
};

}  // namespace tavo
