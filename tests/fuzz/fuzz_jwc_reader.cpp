// libFuzzer target for the interface-file reader: any byte string must be
// read without a crash, a hang or unbounded growth, and every mode run over
// what was read must queue only whole, well-formed lines.
//
// With FUZZ_WRITE_SEEDS naming a folder, LLVMFuzzerInitialize writes a few
// interface files there as seeds (tools/fuzz.sh does this).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "jwc_data.h"
#include "jwc_writer.h"
#include "tollwick_form.h"

namespace {

void WriteSeeds(const std::string& folder) {
  const char* seeds[] = {
      ("hq\r\nhk 0\r\nhs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nhp1-  10 20\r\nhp2   30 40\r\nlg2\r\nly6\r\ncn0 3 3 0.5 2\r\n"
       "cn\"$<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E>\r\n#\r\n"),
      "lc9\nlt19\nlw200\n0 0 420 0\n420 0 420 297\n420 297 0 297\n0 297 0 0\n",
      "pl\n1 2 3 4\nmsg\n1 2 3 4\ncs 1 2 1 0 \"a b\nsl 0 0 0 0 1 1 1 1\nci 1 2 3\nBL 1 2 x\nfile=C:\\a b.jww\n",
  };
  int n = 0;
  for (const char* s : seeds) {
    const std::string path = folder + "/seed_" + std::to_string(n++) + ".txt";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fputs(s, f);
      std::fclose(f);
    }
  }
}

void CheckQueue(const TJwcData& d) {
  for (const TOutputEntry& e : d.Output) {
    if (e.Text.size() > 255) std::abort();
    for (const char c : e.Text) {
      if (static_cast<unsigned char>(c) < 32) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* folder = std::getenv("FUZZ_WRITE_SEEDS")) WriteSeeds(folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TForm1 form;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (int32_t mode : {1, 2, 4, 5, 6, 7}) {
    InitJwcData(form.Jwc);
    size_t start = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
      if (i == bytes.size() || bytes[i] == '\n' || bytes[i] == '\r') {
        ParseJwcLine(form.Jwc, bytes.substr(start, i - start));
        start = i + 1;
      }
    }
    for (int p = 0; p < 100; ++p) {
      if (p == 0 && form.Jwc.Points[p].Used) std::abort();  // row 0 is never filled
    }
    form.Mode = mode;
    form.Param2 = form.Param3 = 0;
    form.Param2Text = "A-1";
    // The settings cannot be saved into a folder that is not there; the
    // mode's queue is what is checked.
    form.ProgramFolder = "/nonexistent-tollwick-fuzz/";
    form.RunMode();
    CheckQueue(form.Jwc);
    (void)JwcFileContents(form.Jwc);
  }
  return 0;
}
