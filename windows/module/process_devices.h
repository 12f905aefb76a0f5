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

// The export through which such a program learns when each print job has
// ended (tagwright.exe run --confirm asks the printer then): `hook` is
// called on the component's print worker after each job, with `context`,
// the job's port index (0..2 LPT1..LPT3, 3..11 COM1..COM9, 12 USB) and
// whether the job reached its port whole; the worker takes its next job
// once the hook returns. A null hook ends the watch, after any call under
// way has returned. With no hook set, the worker runs as it always did.
inline constexpr char kWatchJobsExport[] = "TagwrightWatchJobs";
using JobEndedFunction = void(WINAPI*)(void* context, LONG port, BOOL reached);
using WatchJobsFunction = HRESULT(STDAPICALLTYPE*)(JobEndedFunction hook, void* context);
