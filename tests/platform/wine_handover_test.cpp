#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "fake_wine.h"
#include "wine_launch.h"
#include "wine_paths.h"
#include "wine_registry.h"

namespace {

const char kKey[] = "Software\\\\Classes\\\\Jwwin.Document\\\\shell\\\\open\\\\command";

TEST(WineRegistry, StringEscapes) {
  struct TCase {
    const char* text;  // after the opening quote
    const char* value;
  } cases[] = {
      {R"(C:\\JWW\\Jw_win.exe \"%1\"")", R"(C:\JWW\Jw_win.exe "%1")"},
      {R"(\x3042\x3044")", "あい"},
      {R"(\xd83d\xde00x")", "\xF0\x9F\x98\x80x"},  // surrogate pair joined
      {R"(\xd83d")", "\xEF\xBF\xBD"},              // lone surrogate
      {R"(\101\7a")", "A\x07" "a"},                // octal, up to three digits
      {R"(\x41BCDE")", "\xE4\x86\xBC" "DE"},       // four hex digits at most
      {R"(tab\there)", "tab\there"},               // no closing quote: to the end
  };
  for (const TCase& c : cases) EXPECT_EQ(UnescapeRegString(c.text, 0), c.value) << c.text;
}

TEST(WineRegistry, DefaultValueOfTheKeyOnly) {
  const std::string reg =
      "WINE REGISTRY Version 2\n"
      "[Software\\\\Classes\\\\Other\\\\shell\\\\open\\\\command] 1\n"
      "@=\"wrong\"\n"
      "[software\\\\classes\\\\JWWIN.DOCUMENT\\\\Shell\\\\Open\\\\Command] 1700000000\r\n"
      "#time=1d\r\n"
      "\"Name\"=\"not the default\"\r\n"
      "@=str(2):\"C:\\\\JWW\\\\Jw_win.exe %1\"\r\n"
      "[Next] 1\n@=\"later\"\n";
  std::string value;
  ASSERT_TRUE(FindRegDefaultValue(reg, kKey, value));
  EXPECT_EQ(value, "C:\\JWW\\Jw_win.exe %1");
  EXPECT_FALSE(FindRegDefaultValue("[" + std::string(kKey) + "]\n@=dword:00000001\n[x]\n@=\"no\"\n", kKey, value));
  EXPECT_FALSE(FindRegDefaultValue("", kKey, value));
}

// A string stored without its NUL: Wine writes its UTF-16LE bytes as hex(1),
// over continuation lines.
TEST(WineRegistry, StringStoredAsHexBytes) {
  const std::string key = std::string("[") + kKey + "] 1\r\n";
  std::string value;
  ASSERT_TRUE(FindRegDefaultValue(key + "@=hex(1):43,00,3a,00,5c,00,f3,56,5c,00,4a,00,77,00,5f,00,77,00,69,00,\\\r\n"
                                        "  6e,00,2e,00,65,00,78,00,65,00,20,00,25,00,31,00\r\n[x] 1\r\n",
                                  kKey, value));
  EXPECT_EQ(value, "C:\\\xE5\x9B\xB3\\Jw_win.exe %1");  // 図
  ASSERT_TRUE(FindRegDefaultValue(key + "@=hex(1):41,00,00,00,42,00\n", kKey, value));
  EXPECT_EQ(value, "A");  // a NUL inside ends the string
  ASSERT_TRUE(FindRegDefaultValue(key + "@=hex(1):41,00,\\", kKey, value));
  EXPECT_EQ(value, "A");  // a continuation at the end of the file
}

TEST(WineRegistry, UserFileBeforeSystemFile) {
  FakeWine wine("wine_registry_order");
  const std::string entry = std::string("[") + kKey + "] 1\n@=\"";
  wine.WriteRegistry("system.reg", entry + "C:\\\\Sys\\\\Jw_win.exe\"\n");
  EXPECT_EQ(ReadJwwOpenCommand(wine.Prefix()), "C:\\Sys\\Jw_win.exe");
  wine.WriteRegistry("user.reg", entry + "C:\\\\User\\\\Jw_win.exe\"\n");
  EXPECT_EQ(ReadJwwOpenCommand(wine.Prefix()), "C:\\User\\Jw_win.exe");
  EXPECT_EQ(ReadJwwOpenCommand(""), "");
  EXPECT_EQ(WinePrefixFolder(), wine.Prefix());
}

TEST(WineRegistry, ProgramPartOfTheCommand) {
  struct TCase {
    const char* command;
    const char* program;
  } cases[] = {
      {"C:\\JWW\\Jw_win.exe %1", "C:\\JWW\\Jw_win.exe"},
      {"C:\\Program Files\\JWW\\Jw_win.exe %1", "C:\\Program"},
      {"\"C:\\Program Files\\JWW\\Jw_win.exe\" \"%1\"", "C:\\Program Files\\JWW\\Jw_win.exe"},
      {"\"C:\\Unclosed\\Jw_win.exe", "C:\\Unclosed\\Jw_win.exe"},
      {"", ""},
  };
  for (const TCase& c : cases) EXPECT_EQ(CommandProgramPath(c.command), c.program) << c.command;
  EXPECT_EQ(WindowsFolderOf("C:\\JWW\\Jw_win.exe"), "C:\\JWW\\");
  EXPECT_EQ(WindowsFolderOf("Jw_win.exe"), "");
}

TEST(WinePaths, WindowsToLinuxIgnoringCase) {
  FakeWine wine("wine_paths_in");
  ::mkdir((wine.DriveC() + "Jww").c_str(), 0755);
  std::ofstream(wine.DriveC() + "Jww/Ref.txt") << "x";
  const std::string c = wine.Prefix() + "drive_c";
  struct TCase {
    const char* windows;
    std::string unix;
  } cases[] = {
      {"C:\\JWW\\REF.TXT", c + "/Jww/Ref.txt"},
      {"c:/jww/ref.txt", c + "/Jww/Ref.txt"},
      {"C:\\Other\\..\\jww\\.\\REF.TXT", c + "/Jww/Ref.txt"},
      {"C:\\..\\..\\jww", c + "/Jww"},  // never above the drive
      {"C:\\Missing\\JWW", c + "/Missing/JWW"},
      {"C:\\", c},
      {"Q:\\JWW", ""},  // no such drive
      {"\\\\server\\share", ""},
      {"JWW\\REF.TXT", ""},
  };
  for (const TCase& t : cases) EXPECT_EQ(WindowsToUnixPath(wine.Prefix(), t.windows), t.unix) << t.windows;
  EXPECT_EQ(ResolveIgnoringCase(wine.DriveC(), "jww\\..\\..\\JWW\\ref.TXT"), wine.DriveC() + "Jww/Ref.txt");
  EXPECT_EQ(FindEntryIgnoringCase(wine.DriveC(), ".."), "");
}

TEST(WinePaths, LinuxToWindowsByTheLongestDrive) {
  FakeWine wine("wine_paths_out");
  ::mkdir((wine.DriveC() + "Work").c_str(), 0755);
  const std::string inC = wine.DriveC() + "Work/a b.jww";
  std::ofstream(inC) << "x";
  EXPECT_EQ(UnixToWindowsPath(wine.Prefix(), inC), "C:\\Work\\a b.jww");
  EXPECT_EQ(UnixToWindowsPath(wine.Prefix(), "/usr/share/x.jww"), "Z:\\usr\\share\\x.jww");
  EXPECT_EQ(UnixToWindowsPath(wine.Prefix(), "relative.jww"), "");
}

TEST(WineLaunch, StartsDetachedInTheGivenFolderWithTheArguments) {
  FakeWine wine("wine_launch");
  wine.HideWine();
  EXPECT_FALSE(StartUnderWine("/x/Jw_win.exe", {"C:\\a.jww"}, "/"));
  wine.InstallFakeWine();
  int error = 0;  // a folder that cannot be entered is seen before the program runs
  EXPECT_FALSE(StartUnderWine("/x/Jw_win.exe", {}, "/no/such/folder", &error));
  EXPECT_EQ(error, ENOENT);
  ASSERT_TRUE(StartUnderWine("/x/Jw win.exe", {"C:\\a b.jww"}, wine.DriveC()));
  const std::string drive = wine.DriveC().substr(0, wine.DriveC().size() - 1);
  EXPECT_EQ(wine.WaitForRecord(), drive + "\n/x/Jw win.exe\nC:\\a b.jww\n");
}

}  // namespace

namespace {

TEST(WineRegistry, GarbageNeverBreaksTheReader) {
  uint32_t seed = 99;
  for (int round = 0; round < 300; ++round) {
    std::string data = std::string("[") + kKey + "]\n@=" + (round % 3 ? "str(2):\"" : "\"");
    for (int i = 0; i < round; ++i) {
      seed = seed * 1103515245u + 12345u;
      data += "\\x0123456789abcdef\"\n[]@="[(seed >> 16) % 24];
    }
    std::string value;
    FindRegDefaultValue(data, kKey, value);
    UnescapeRegString(data, data.size() / 2);
    CommandProgramPath(value);
  }
}

}  // namespace
