#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/transport/network_address.h"
#include "core/transport/network_timeouts.h"

namespace tagwright {

// Shows one line on the terminal (the host decides where).
using NoticeFunction = std::function<void(const std::string&)>;

// System error codes (Windows numbering, as the port logic expects) of a
// network printer that cannot be reached.
inline constexpr std::uint32_t kErrorNetworkUnreachable = 10051;
inline constexpr std::uint32_t kErrorConnectionTimedOut = 10060;
inline constexpr std::uint32_t kErrorConnectionRefused = 10061;
inline constexpr std::uint32_t kErrorHostUnreachable = 10065;
inline constexpr std::uint32_t kErrorHostNotFound = 11001;

// The words of the network printers on every system. `systemText` is the
// system's own description of an error (strerror, FormatMessage).

// "LPT1: the printer at 10.0.0.7:9100", the start of every notice.
std::string printerPlaceText(const std::string& portName, const TcpPrinterAddress& address);

std::string hostNotFoundText(const std::string& place, const std::string& systemText);

// How a connection attempt failed, as far as the advice differs.
enum class ConnectFailureKind { TimedOut, Unreachable, Other };

std::string cannotReachText(const std::string& place, ConnectFailureKind kind,
                            const std::string& systemText, const NetworkTimeouts& timeouts);

std::string busyRefusalText(const std::string& place, std::chrono::milliseconds busy);
std::string stillRefusedText(const std::string& place, std::chrono::milliseconds busy);

// Why a job ended when the connection broke while it was being sent.
enum class SendFailureKind { ClosedByPrinter, TimedOut, Other };

std::string sendFailureText(SendFailureKind kind, const std::string& systemText);

// What finish() says of a connection that it had already ended.
inline constexpr std::string_view kAlreadyClosedText = "the connection was already closed";

// Why a job ended when the printer reset the connection after every byte
// was acknowledged, instead of closing its side in order: the end of the
// job may have been thrown away unprinted.
std::string brokeAfterTakingText(std::uint64_t taken);

// Why a job ended when the printer did not confirm its last `count` bytes.
std::string lastBytesNotTakenText(std::uint64_t count, std::chrono::milliseconds stall);

}  // namespace tagwright
