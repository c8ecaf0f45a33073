#include "peak_memory.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_current{0};
std::atomic<std::size_t> g_peak{0};
// Each block starts with its size, padded so the caller's part keeps the
// strictest fundamental alignment.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Take(std::size_t n) {
  if (n > SIZE_MAX - kHeader) throw std::bad_alloc();
  auto* base = static_cast<char*>(std::malloc(n + kHeader));
  if (!base) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(base) = n;
  const std::size_t now = g_current.fetch_add(n) + n;
  std::size_t peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
  return base + kHeader;
}

void Give(void* p) {
  if (!p) return;
  char* base = static_cast<char*>(p) - kHeader;
  g_current.fetch_sub(*reinterpret_cast<std::size_t*>(base));
  std::free(base);
}

}  // namespace

void* operator new(std::size_t n) { return Take(n); }
void* operator new[](std::size_t n) { return Take(n); }
void operator delete(void* p) noexcept { Give(p); }
void operator delete[](void* p) noexcept { Give(p); }
void operator delete(void* p, std::size_t) noexcept { Give(p); }
void operator delete[](void* p, std::size_t) noexcept { Give(p); }

namespace test_memory {

void ResetPeak() { g_peak.store(g_current.load()); }
std::size_t Peak() { return g_peak.load(); }

}  // namespace test_memory
