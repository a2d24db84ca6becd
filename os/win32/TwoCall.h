#pragma once
// The spooler's and the SCM's enumerations size their buffers in two calls:
// one without a buffer learns the size in bytes, a second fills a buffer of
// exactly that size. There is no retry: if the data grew in between, the
// second call fails and reports what it returned (usually nothing).
#include <windows.h>

#include <cstdint>
#include <vector>

#include "os/Status.h"

namespace os::win32 {

struct TwoCallResult {
  Status status = 0;
  std::vector<std::uint8_t> buffer;  // entries and the strings they point to
  DWORD count = 0;                   // entries the second call reported

  template <class T>
  const T* entries() const {
    return reinterpret_cast<const T*>(buffer.data());
  }
};

// call(buffer, bufferSize, &needed, &returned) -> BOOL
template <class Call>
TwoCallResult EnumerateInTwoCalls(Call call) {
  DWORD needed = 0;
  DWORD returned = 0;
  call(nullptr, 0, &needed, &returned);
  TwoCallResult result;
  result.buffer.resize(needed);
  returned = 0;
  const BOOL ok = call(needed ? result.buffer.data() : nullptr, needed, &needed, &returned);
  result.status = ok ? 0 : GetLastError();
  result.count = returned;
  return result;
}

inline std::wstring Text(const wchar_t* s) { return s ? std::wstring(s) : std::wstring(); }

}  // namespace os::win32
