#pragma once
#include <string>

// Path of a drawing saved by Jw_cad, kept under tests/data/realdata.
std::string RealDataPath(const std::string& name);
