// Temporary folders and whole-file reads for the paper-frame command's tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

inline std::filesystem::path MakeTempDir(const std::string& tag) {
  std::random_device rd;
  for (;;) {
    const auto dir = std::filesystem::temp_directory_path() / ("tollwick_" + tag + "_" + std::to_string(rd()));
    if (std::filesystem::create_directory(dir)) return dir;
  }
}

inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
