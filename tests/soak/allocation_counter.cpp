#include "allocation_counter.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

bool Counting = false;
int64_t Counted = 0;

void* Allocate(std::size_t size) {
  if (Counting) ++Counted;
  return std::malloc(size == 0 ? 1 : size);
}

// Over-aligned blocks come from malloc too, the block's own start kept just
// before the aligned address: posix_memalign and _aligned_malloc are each
// one host's, and their blocks would need different frees.
void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  if (Counting) ++Counted;
  std::size_t align = static_cast<std::size_t>(alignment);
  if (align < sizeof(void*)) align = sizeof(void*);
  void* raw = std::malloc(size + align + sizeof(void*));
  if (raw == nullptr) return nullptr;
  const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*);
  void* aligned = reinterpret_cast<void*>((start + align - 1) / align * align);
  static_cast<void**>(aligned)[-1] = raw;
  return aligned;
}

void FreeAligned(void* p) {
  if (p != nullptr) std::free(static_cast<void**>(p)[-1]);
}

void* AllocateOrThrow(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}

void* AllocateAlignedOrThrow(std::size_t size, std::align_val_t alignment) {
  if (void* p = AllocateAligned(size, alignment)) return p;
  throw std::bad_alloc();
}

}  // namespace

void StartCountingAllocations() {
  Counted = 0;
  Counting = true;
}

int64_t StopCountingAllocations() {
  Counting = false;
  return Counted;
}

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t a) { return AllocateAlignedOrThrow(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return AllocateAlignedOrThrow(size, a); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, a);
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete[](void* p, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { FreeAligned(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { FreeAligned(p); }
