// Views of mapped files that a fault handler looks up by address.
#include "base/watched_views.h"

namespace tavo {

namespace {

WatchedView g_views[8];

}  // namespace

void WatchedView::note_cut(std::uintptr_t address) {
  std::uintptr_t cut = cut_.load(std::memory_order_relaxed);
  while ((cut == 0 || address < cut) &&
         !cut_.compare_exchange_weak(cut, address, std::memory_order_release)) {
  }
}

std::optional<std::uint64_t> WatchedView::cut() const {
  const std::uintptr_t at = cut_.load(std::memory_order_acquire);
  if (at == 0) return std::nullopt;
  return offset_ + (at - reinterpret_cast<std::uintptr_t>(base_));
}

WatchedView* watch_view(char* base, std::size_t size, std::uint64_t offset) {
  for (WatchedView& view : g_views) {
    bool used = false;
    if (!view.used_.compare_exchange_strong(used, true, std::memory_order_acquire)) continue;
    view.base_ = base;
    view.size_ = size;
    view.offset_ = offset;
    view.replaced = false;
    view.cut_.store(0, std::memory_order_relaxed);
    view.end_.store(reinterpret_cast<std::uintptr_t>(base) + size, std::memory_order_relaxed);
    view.begin_.store(reinterpret_cast<std::uintptr_t>(base), std::memory_order_release);
    return &view;
  }
  return nullptr;
}

void unwatch_view(WatchedView& view) {
  view.begin_.store(0, std::memory_order_release);
  view.used_.store(false, std::memory_order_release);
}

WatchedView* watched_view_at(std::uintptr_t address) {
  for (WatchedView& view : g_views) {
    const std::uintptr_t begin = view.begin_.load(std::memory_order_acquire);
    const std::uintptr_t end = view.end_.load(std::memory_order_relaxed);
    if (begin != 0 && address >= begin && address < end) return &view;
  }
  return nullptr;
}

}  // namespace tavo
