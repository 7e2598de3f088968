// The lines of one listed file that hold the term.
#include "lookup/listing_search.h"

#include <utility>

namespace tavo {

ListingSearch::Half::Half(const platform::InputFile& listing, std::uint64_t from, const Term& term,
                          const ReadSizes& sizes)
    : file(listing.open_again()),
      buffer(sizes),
      reader(*file, from, listing.size(), buffer),
      scanner(reader, &term) {}

void ListingSearch::Half::run() {
  try {
    while (const auto line = scanner.next_match()) lines.emplace_back(*line);
  } catch (...) {
    failure = std::current_exception();
  }
}

ListingSearch::ListingSearch(platform::InputFile& file, const Term& term, ReadBuffer& buffer,
                             platform::Threads* threads, std::uint64_t split_from)
    : reader_(file, 0, file.size(), buffer), scanner_(reader_, &term) {
  const std::string& bytes = term.bytes();
  // Every line holds an empty term: kept whole, the second half would cost its size in memory.
  if (threads == nullptr || file.size() < split_from || bytes.empty() ||
      threads->processors() < 2) {
    return;
  }
  const std::size_t block = buffer.sizes().block;
  middle_ = file.size() / 2 / block * block;
  try {
    second_ = std::make_unique<Half>(file, middle_, term, buffer.sizes());
    thread_ = threads->start([half = second_.get()] { half->run(); });
  } catch (const std::exception&) {
    second_.reset();  // searched alone
    return;
  }
  scanner_.stop_at(middle_);
}

ListingSearch::~ListingSearch() = default;

std::optional<std::string_view> ListingSearch::next() {
  if (const auto line = scanner_.next_match()) return line;
  if (second_ == nullptr) return std::nullopt;
  thread_.reset();  // waits for the second half
  // A file cut in the first half has no second half.
  if (scanner_.file_end() < middle_) {
    second_->lines.clear();
    second_->failure = nullptr;
  }
  if (handed_ < second_->lines.size()) return second_->lines[handed_++];
  if (second_->failure) std::rethrow_exception(std::exchange(second_->failure, nullptr));
  return std::nullopt;
}

}  // namespace tavo
