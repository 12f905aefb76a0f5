#pragma once

#include <windows.h>

#include "core/util/unique_any.h"

namespace tagwright::win32 {

// Owners of Windows resources, for every part of the Windows code (the
// platform layer, the COM server, the programs and their tests), on the
// portable owner of the core.
using tagwright::null_handle_traits;
using tagwright::unique_any;
using tagwright::unique_resource;

// Traits of a resource whose "no resource" value is INVALID_HANDLE_VALUE
// (files, devices, device information sets).
template <typename Handle, auto Close>
struct invalid_handle_traits {
  using type = Handle;
  static Handle invalid() noexcept { return static_cast<Handle>(INVALID_HANDLE_VALUE); }
  static void close(Handle handle) noexcept { static_cast<void>(Close(handle)); }
};

template <typename Handle, auto Close>
using unique_invalid_resource = unique_any<invalid_handle_traits<Handle, Close>>;

// A file or device handle from CreateFile.
using unique_file_handle = unique_invalid_resource<HANDLE, &::CloseHandle>;

}  // namespace tagwright::win32
