#pragma once
// A structured exception (an access violation inside a system call) carried
// as a C++ exception. It is the one thing that crosses the OS boundary by
// throwing, and only on a thread that installed the translator.
#include <array>
#include <cstdint>
#include <vector>

namespace os {

inline constexpr std::uint32_t kAccessViolation = 0xC0000005;

struct ExceptionRecord {  // EXCEPTION_RECORD, platform-neutral
  std::uint32_t exceptionCode = 0;
  std::uint32_t exceptionFlags = 0;
  std::uint64_t exceptionAddress = 0;
  std::uint32_t numberParameters = 0;
  std::array<std::uint64_t, 15> exceptionInformation{};
};

// The carried exception: the record first (so the exception code is the
// first thing in it), then the raw processor context.
class CSE {
 public:
  CSE(const ExceptionRecord& record, std::vector<std::uint8_t> context)
      : record_(record), context_(std::move(context)) {}
  std::uint32_t code() const { return record_.exceptionCode; }
  const ExceptionRecord& record() const { return record_; }
  const std::vector<std::uint8_t>& context() const { return context_; }

 private:
  ExceptionRecord record_;
  std::vector<std::uint8_t> context_;
};

class Faults {
 public:
  virtual ~Faults() = default;
  // Our stand-in for _set_se_translator(TranslateStructuredException): from
  // now on a fault inside a system call on the calling thread reaches the
  // caller as a thrown CSE instead of ending the process.
  virtual void InstallTranslatorOnThisThread() = 0;
};

}  // namespace os
