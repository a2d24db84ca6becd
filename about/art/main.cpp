// Writes the About picture as a .bmp file: tessaly-about-art <path>.
#include <cstdio>

#include "about/art/AboutArtwork.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output.bmp>\n", argv[0]);
    return 2;
  }
  const auto file = about::art::EncodeBmp(about::art::DrawAboutPicture());
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  const bool closed = std::fclose(out) == 0;
  return written && closed ? 0 : 1;
}
