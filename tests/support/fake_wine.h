// A Wine prefix for tests: drive C: is the prefix's drive_c, Z: the root,
// as Wine sets them up; registry files are written by the test. A fake
// `wine` program first on PATH records its working folder and arguments.
// WINEPREFIX and PATH come back when the object goes.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "jww_model_maker.h"

class FakeWine {
 public:
  explicit FakeWine(const std::string& name) : root_(jwwtest::FreshFolder(name)) {
    prefix_ = root_ + "prefix/";
    ::mkdir(prefix_.c_str(), 0755);
    ::mkdir((prefix_ + "dosdevices").c_str(), 0755);
    ::mkdir((prefix_ + "drive_c").c_str(), 0755);
    EXPECT_EQ(::symlink("../drive_c", (prefix_ + "dosdevices/c:").c_str()), 0);
    EXPECT_EQ(::symlink("/", (prefix_ + "dosdevices/z:").c_str()), 0);
    Keep("WINEPREFIX", oldPrefix_, hadPrefix_);
    Keep("PATH", oldPath_, hadPath_);
    ::setenv("WINEPREFIX", prefix_.c_str(), 1);
  }
  FakeWine(const FakeWine&) = delete;
  FakeWine& operator=(const FakeWine&) = delete;
  ~FakeWine() {
    Restore("WINEPREFIX", oldPrefix_, hadPrefix_);
    Restore("PATH", oldPath_, hadPath_);
  }

  const std::string& Prefix() const { return prefix_; }
  std::string DriveC() const { return prefix_ + "drive_c/"; }
  void WriteRegistry(const std::string& file, const std::string& text) const {
    std::ofstream(prefix_ + file, std::ios::binary) << text;
  }

  // Puts a `wine` first on PATH that writes its folder and arguments, one a
  // line, to RecordPath().
  void InstallFakeWine() {
    const std::string bin = root_ + "bin/";
    ::mkdir(bin.c_str(), 0755);
    const std::string script = bin + "wine";
    std::ofstream(script) << "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" << RecordPath()
                          << ".part'\nmv '" << RecordPath() << ".part' '" << RecordPath() << "'\n";
    ::chmod(script.c_str(), 0755);
    ::setenv("PATH", (bin.substr(0, bin.size() - 1) + ":" + oldPath_).c_str(), 1);
  }
  // PATH without any wine.
  void HideWine() const { ::setenv("PATH", (root_ + "prefix").c_str(), 1); }
  std::string RecordPath() const { return root_ + "wine-record.txt"; }
  // The record of the fake wine, waiting up to ten seconds for it (it runs
  // detached); empty when it never came.
  std::string WaitForRecord() const {
    for (int i = 0; i < 1000; ++i) {
      std::ifstream in(RecordPath());
      if (in) {
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::string();
  }

 private:
  static void Keep(const char* name, std::string& value, bool& had) {
    const char* v = std::getenv(name);
    had = v != nullptr;
    if (had) value = v;
  }
  static void Restore(const char* name, const std::string& value, bool had) {
    if (had) ::setenv(name, value.c_str(), 1);
    else ::unsetenv(name);
  }

  std::string root_;
  std::string prefix_;
  std::string oldPrefix_, oldPath_;
  bool hadPrefix_ = false, hadPath_ = false;
};
