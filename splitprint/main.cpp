#include <cstdio>

#include "jww_data.h"

int main(int argc, char** argv) {
  TJwwData drawing;
  for (int i = 1; i < argc; ++i) {
    const bool ok = drawing.IsJwwFile(argv[i]);
    std::printf("%s: %s\n", argv[i], ok ? "JWW drawing" : "not a JWW drawing");
  }
  if (argc < 2) std::printf("Quillmoor: give JWW drawing files to check.\n");
  return 0;
}
