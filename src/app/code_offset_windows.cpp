#include <windows.h>

#include "app/code_offset.h"

uint32_t CodeOffset(const void* address) {
  HMODULE module = nullptr;
  auto raw = reinterpret_cast<uintptr_t>(address);
  if (GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCWSTR>(address), &module) &&
      module != nullptr) {
    raw -= reinterpret_cast<uintptr_t>(module);
  }
  return static_cast<uint32_t>(raw);
}
