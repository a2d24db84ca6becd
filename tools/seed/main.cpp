// tessaly-seed IMAGE.json: creates what a machine image describes on this
// system (a Wine prefix for the demo) and says what it did.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/seed/Seeder.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tessaly-seed IMAGE.json\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tessaly-seed: %s cannot be opened\n", argv[1]);
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  try {
    seed::Seeder seeder(false);
    seeder.Apply(os::image::ParseMachineImage(text.str(), argv[1]));
    for (const auto& line : seeder.log()) std::printf("seeded %s\n", line.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tessaly-seed: %s\n", e.what());
    return 1;
  }
  return 0;
}
