#include <cstdio>

#include "func.h"

int main(int argc, char** argv) {
  std::printf("Tollwick: %d argument(s); the paper-frame modes are not built yet.\n", argc - 1);
  (void)argv;
  return RoundToInt(0.0);
}
