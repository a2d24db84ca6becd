#pragma once
// Results of the OS boundary carry the Win32 error code as a value, the way
// GetLastError reports it. Nothing crosses the boundary as a C++ exception
// except the structured-exception fault (see Faults.h).
#include <cstdint>
#include <utility>

namespace os {

using Status = std::uint32_t;

namespace error {
inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;
inline constexpr Status kPathNotFound = 3;
inline constexpr Status kAccessDenied = 5;
inline constexpr Status kInvalidHandle = 6;
inline constexpr Status kNoMoreFiles = 18;
inline constexpr Status kSharingViolation = 32;
inline constexpr Status kFileExists = 80;
inline constexpr Status kNotEnoughMemory = 8;
inline constexpr Status kInvalidParameter = 87;
inline constexpr Status kInsufficientBuffer = 122;
inline constexpr Status kInvalidName = 123;
inline constexpr Status kProcNotFound = 127;
inline constexpr Status kDirNotEmpty = 145;
inline constexpr Status kBadPathname = 161;
inline constexpr Status kAlreadyExists = 183;
inline constexpr Status kMoreData = 234;
inline constexpr Status kNoMoreItems = 259;
inline constexpr Status kKeyDeleted = 1018;
// What the OS boundary reports for a call that failed without setting an
// error code: "no error" would read as success.
inline constexpr Status kUnidentifiedError = 1287;
inline constexpr Status kDependentServicesRunning = 1051;
inline constexpr Status kServiceRequestTimeout = 1053;
inline constexpr Status kServiceDatabaseLocked = 1055;
inline constexpr Status kServiceAlreadyRunning = 1056;
inline constexpr Status kServiceDoesNotExist = 1060;
inline constexpr Status kServiceCannotAcceptControl = 1061;
inline constexpr Status kServiceNotActive = 1062;
inline constexpr Status kRpcServerUnavailable = 1722;
inline constexpr Status kUnknownPrinterDriver = 1797;
inline constexpr Status kInvalidPrinterName = 1801;
inline constexpr Status kUnknownPrinterEnvironment = 1805;
inline constexpr Status kInvalidFormName = 1902;
inline constexpr Status kPrinterDriverInUse = 3001;
inline constexpr Status kPrinterHasJobsQueued = 3009;
inline constexpr Status kPrinterDriverPackageInUse = 3015;
}  // namespace error

// A value or the error that prevented it.
template <class T>
struct [[nodiscard]] Result {
  Status status = error::kSuccess;
  T value{};

  static Result Ok(T v) { return Result{error::kSuccess, std::move(v)}; }
  static Result Fail(Status s) { return Result{s, T{}}; }
  bool ok() const { return status == error::kSuccess; }
};

}  // namespace os
