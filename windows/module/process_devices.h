#pragma once

#include <windows.h>

// The export through which a program that hosts the component hands it a
// device map for its own process (tagwright.exe run --device), found by
// name with GetProcAddress once the component's module is loaded. It is not
// one of the host's interfaces: a host that never calls it sees the
// component as it always was. `entries` holds "PORT=TARGET" strings, each
// ended by a zero and the list by one more (an empty list clears the map);
// the time-outs of network printers are in milliseconds, 0 for the default
// of each. E_INVALIDARG for a port name that cannot be mapped or an entry
// without '='; the map is then left as it was.
inline constexpr char kUseProcessDevicesExport[] = "TagwrightUseProcessDevices";
using UseProcessDevicesFunction = HRESULT(STDAPICALLTYPE*)(LPCWSTR entries, DWORD connectMs,
                                                           DWORD busyMs, DWORD stallMs);
