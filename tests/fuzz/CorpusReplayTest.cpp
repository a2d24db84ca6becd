// Every committed fuzz input, replayed by the native tests on every build
// (and under the sanitizers): the fuzzers' properties hold for the inputs
// that once found a fault or reach the most code, so a change that breaks
// one fails here, with the input's name, and not only in a fuzzing session.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/fuzz/Require.h"

// Each target's entry point, renamed for this build.
extern "C" int ReplayCommandLine(const std::uint8_t*, std::size_t);
extern "C" int ReplayLanguageFile(const std::uint8_t*, std::size_t);
extern "C" int ReplayMachineImage(const std::uint8_t*, std::size_t);
extern "C" int ReplayRegistryStrings(const std::uint8_t*, std::size_t);
extern "C" int ReplayUtf(const std::uint8_t*, std::size_t);

namespace {

struct Target {
  const char* corpus;
  int (*input)(const std::uint8_t*, std::size_t);
};

TEST(FuzzCorpus, EveryCommittedInputKeepsItsTargetsProperties) {
  const Target targets[] = {{"fuzz_command_line", ReplayCommandLine},
                            {"fuzz_language_file", ReplayLanguageFile},
                            {"fuzz_machine_image", ReplayMachineImage},
                            {"fuzz_registry_strings", ReplayRegistryStrings},
                            {"fuzz_utf", ReplayUtf}};
  for (const Target& target : targets) {
    const auto folder = std::filesystem::path(TESSALY_FUZZ_CORPUS) / target.corpus;
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      std::ifstream file(entry.path(), std::ios::binary);
      const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
      try {
        target.input(data.data(), data.size());
      } catch (const fuzz::BrokenProperty& broken) {
        ADD_FAILURE() << entry.path().string() << ": " << broken.what();
      }
      ++replayed;
    }
    EXPECT_GE(replayed, 10) << folder.string();
  }
}

}  // namespace
