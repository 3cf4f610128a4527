// Memory and handles of a running process, as the system's process list
// gives them (Wine answers 0 to GetProcessMemoryInfo and
// GetProcessHandleCount for another process, but fills this list).
#include <windows.h>
#include <winternl.h>

#include <cstdio>
#include <vector>

#include "win32_test_support.h"

namespace win32_test {

int printProcessFigures(const char* exeName) {
  wchar_t wanted[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, exeName, -1, wanted, MAX_PATH);
  std::vector<unsigned char> buffer(1 << 16);
  ULONG needed = 0;
  NTSTATUS status;
  while ((status = NtQuerySystemInformation(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                            &needed)) == static_cast<NTSTATUS>(0xC0000004L)) {  // length mismatch
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return 2;
  for (std::size_t at = 0;;) {
    const auto* p = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
    if (p->ImageName.Buffer && lstrcmpiW(p->ImageName.Buffer, wanted) == 0) {
      // SIZE_T is 64 bits in the 64-bit build: printed whole, not cut to a long.
      std::printf("private=%llu working=%llu handles=%lu\n",
                  static_cast<unsigned long long>(p->VirtualMemoryCounters.PagefileUsage),
                  static_cast<unsigned long long>(p->VirtualMemoryCounters.WorkingSetSize),
                  static_cast<unsigned long>(p->HandleCount));
      return 0;
    }
    if (p->NextEntryOffset == 0) return 1;
    at += p->NextEntryOffset;
  }
}

}  // namespace win32_test
