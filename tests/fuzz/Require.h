#pragma once
// A property every input must keep. Under libFuzzer a broken one aborts,
// which is how the fuzzer reports a finding; where the native tests replay
// the committed inputs it throws instead, so the replay names the property
// and the input and goes on with the next one.
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace fuzz {

struct BrokenProperty : std::logic_error {
  using std::logic_error::logic_error;
};

}  // namespace fuzz

#ifdef TESSALY_FUZZ_REPLAY
#define Require(condition) \
  ((condition) ? void() : throw fuzz::BrokenProperty(std::string(__FILE__ ":") + std::to_string(__LINE__) + ": " #condition))
#else
#define Require(condition) ((condition) ? void() : std::abort())
#endif
