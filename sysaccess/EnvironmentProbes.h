#pragma once
// Where things are and what the system is.
#include <string>
#include <string_view>

#include "os/Environment.h"
#include "sysaccess/SystemAccess.h"

namespace sysaccess {

// Fixed buffer of the Temp folder and of the directories: 259 characters and
// a terminator.
inline constexpr std::size_t kPathCapacity = 260;

// The user's "Temp" setting from HKEY_CURRENT_USER\Environment with its
// variables expanded. Empty (an unknown folder, nothing to clean) when there
// is none, when it or its expansion does not fit 259 characters, or when it
// is not an absolute path: a shortened or relative path would name some
// other folder, and the cleanup deletes files there.
std::wstring GetUserTempFolder(SystemAccess& sys);

// "<Windows directory>\Temp"; empty when the Windows directory is unknown
// (rather than "\Temp", the Temp folder of whatever drive is current).
std::wstring GetWindowsTempFolder(SystemAccess& sys);

const os::OsVersionInfo& GetOsVersion(SystemAccess& sys);

// "x86", "AMD64", ... as the registry records it; empty when missing.
std::wstring ReadProcessorArchitecture(SystemAccess& sys);

// The INF path the driver was installed from, read from the "Windows NT x86"
// driver key on an x86 machine and from the "Windows x64" key otherwise.
std::wstring ReadDriverInfPath(SystemAccess& sys, std::wstring_view driverName);

// True for "X:\..." and "\\server\share..." paths.
bool IsAbsolutePath(std::wstring_view path);

}  // namespace sysaccess
