#pragma once

// Winsock 2 before <windows.h>, which would otherwise bring in the old one.
#include <winsock2.h>

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

// A socket from socket() or accept(); closesocket ends it (an orderly close,
// unless SO_LINGER says to reset). Needs ws2_32.
struct socket_traits {
  using type = SOCKET;
  static SOCKET invalid() noexcept { return INVALID_SOCKET; }
  static void close(SOCKET socket) noexcept { static_cast<void>(::closesocket(socket)); }
};
using unique_socket = unique_any<socket_traits>;

// The use of Winsock that one WSAStartup began: WSACleanup ends it. The
// handle only says whether it started.
struct winsock_traits {
  using type = bool;
  static constexpr bool invalid() noexcept { return false; }
  static void close(bool) noexcept { static_cast<void>(::WSACleanup()); }
};
using unique_winsock = unique_any<winsock_traits>;

}  // namespace tagwright::win32
