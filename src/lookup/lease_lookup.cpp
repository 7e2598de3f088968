// The lease lookup over an index file and the listings it names.
#include "lookup/lease_lookup.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/cut.h"
#include "base/error.h"
#include "convert/notation.h"
#include "lookup/byte_reader.h"
#include "lookup/lease_line.h"
#include "lookup/line_scanner.h"
#include "lookup/listing_search.h"
#include "lookup/term.h"
#include "publish/line_appender.h"

namespace tavo {

namespace {

constexpr std::string_view kUsage = "use /dhcp INDEXFILE TERM";

// One match: converted, summarised on the clipboard and logged. A line that is no lease line
// (a header or a banner that happens to hold the term) is passed over.
void report_match(const platform::Services& services, const Convert& convert,
                  std::u16string_view line) {
  const std::optional<Lease> lease = parse_lease_line(line);
  if (!lease) return;
  const std::u16string mac = trim(convert(lease->hardware, kColonToDash));
  services.clipboard.set_text(lease_summary(*lease, mac));
  LineAppender log(services.files, kLogFile, platform::Encoding::ansi);
  const std::u16string date = services.clock.date();
  const std::u16string time = services.clock.time();
  log.write(log_entry(*lease, mac, date, time));
  log.close();
}

}  // namespace

void lease_lookup(const platform::Services& services, const Convert& convert,
                  std::u16string_view wert) {
  platform::FileSystem& files = services.files;
  files.open_write(kWorkFile)->close();

  const std::vector<std::u16string> words = split_words(wert);
  if (words.size() < 2 || words[1].empty()) {
    throw Error("/dhcp: the index file name is missing; " + std::string(kUsage));
  }
  if (words.size() < 3) throw Error("/dhcp: the search term is missing; " + std::string(kUsage));
  // A term that the files' encoding cannot hold occurs in no line; the files are read all the
  // same, so a missing one is still reported.
  const std::optional<std::string> encoded = files.encode(words[2], platform::Encoding::ansi);
  Term term(encoded.value_or(std::string()), files.lead_bytes(),
            services.system.vector_instructions());
  // Made once for the lookup: an index may name thousands of small listings.
  ReadSizes sizes;
  sizes.room = std::max(sizes.room, (term.bytes().size() + 4095) / 4096 * 4096);
  ReadBuffer buffer(sizes);
  ReadBuffer index_buffer(ReadSizes{64 * 1024, 4096});

  const auto index_file = files.open_read(words[1]);
  ByteReader index_reader(*index_file, 0, index_file->size(), index_buffer);
  LineScanner index(index_reader);
  bool tuned = false;
  while (const auto name = index.next_line()) {
    if (name->empty()) continue;  // a blank line, often left at the end by editors
    const auto listed_file = files.open_read(files.decode(*name));
    if (!encoded) continue;
    if (!tuned) {
      // The filter's bytes are chosen once, by the first listing's first bytes.
      const std::size_t sample = listed_file->read_at(0, buffer.room_end(), 64 * 1024);
      term.tune(std::string_view(buffer.room_end(), sample));
      tuned = true;
    }
    ListingSearch listing(*listed_file, term, buffer, &services.threads);
    while (const auto line = listing.next()) report_match(services, convert, files.decode(*line));
  }
}

}  // namespace tavo
