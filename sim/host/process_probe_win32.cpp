// Threads from a Toolhelp snapshot, heap bytes by walking the C runtime's heap.
// windows.h first: tlhelp32.h uses its types.
#include <windows.h>

#include <malloc.h>
#include <tlhelp32.h>

#include "host/process_probe.h"

namespace sim {

std::size_t ProcessThreadCount() {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return 0;
    }
    const DWORD process = ::GetCurrentProcessId();
    std::size_t count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot, &entry); more;
         more = ::Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == process) {
            ++count;
        }
    }
    ::CloseHandle(snapshot);
    return count;
}

std::vector<ThreadUse> ProcessThreads() {
    return {};
}

std::optional<ThreadUse> ThisThread() {
    return std::nullopt;
}

std::optional<ThreadSwitches> ThisThreadSwitches() {
    return std::nullopt;
}

std::optional<std::size_t> LiveHeapBytes() {
    _HEAPINFO entry{};
    std::size_t used = 0;
    int status = _HEAPOK;
    while ((status = ::_heapwalk(&entry)) == _HEAPOK) {
        if (entry._useflag == _USEDENTRY) {
            used += entry._size;
        }
    }
    if (status != _HEAPEND && status != _HEAPEMPTY) {
        return std::nullopt;
    }
    return used;
}

}  // namespace sim
