#include <dlfcn.h>

#include "app/code_offset.h"

uint32_t CodeOffset(const void* address) {
  Dl_info info{};
  auto raw = reinterpret_cast<uintptr_t>(address);
  if (dladdr(address, &info) != 0 && info.dli_fbase != nullptr) {
    raw -= reinterpret_cast<uintptr_t>(info.dli_fbase);
  }
  return static_cast<uint32_t>(raw);
}
