#include "test_paths.h"

std::string RealDataPath(const std::string& name) { return std::string(REALDATA_DIR) + "/" + name; }
