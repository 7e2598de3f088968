// Views of mapped files that a fault handler looks up by address, without a lock.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tavo {

// One mapped view while it is watched. The thread that maps it reads it; a handler of the fault
// that a read of a cut file raises, on that thread, notes the cut.
class WatchedView {
 public:
  char* base() const { return base_; }
  std::size_t size() const { return size_; }
  // The view's bytes from `address` on are gone from the file; the earliest note stays.
  void note_cut(std::uintptr_t address);
  // The offset in the file of the first byte noted gone, or nullopt.
  std::optional<std::uint64_t> cut() const;
  // The system could not zero part of the view, so the handler replaced the whole of it.
  bool replaced = false;

 private:
  friend WatchedView* watch_view(char* base, std::size_t size, std::uint64_t offset);
  friend void unwatch_view(WatchedView& view);
  friend WatchedView* watched_view_at(std::uintptr_t address);

  std::atomic<bool> used_{false};
  std::atomic<std::uintptr_t> begin_{0};  // set last and cleared first, for the handler
  std::atomic<std::uintptr_t> end_{0};
  std::atomic<std::uintptr_t> cut_{0};
  char* base_ = nullptr;
  std::size_t size_ = 0;
  std::uint64_t offset_ = 0;
};

// Watches the view of `size` bytes at `base`, which holds the file from `offset`; null when as
// many views as a lookup reads at once (two) and more are watched already.
WatchedView* watch_view(char* base, std::size_t size, std::uint64_t offset);
// Before the view is unmapped.
void unwatch_view(WatchedView& view);
// The watched view that holds `address`, or null. Safe in a signal or exception handler.
WatchedView* watched_view_at(std::uintptr_t address);

}  // namespace tavo
