#include <gtest/gtest.h>

#include "jww_model_maker.h"
#include "standard_folders.h"
#include "xdg_folders.h"

namespace {

TEST(StandardFolders, XdgDesktopAndDocumentsWithTrailingSlash) {
  const std::string root = jwwtest::FreshFolder("xdg");
  XdgFolders xdg(root);
  EXPECT_EQ(DesktopFolderPath(), root + "desk/");
  EXPECT_EQ(DocumentsFolderPath(), root + "docs/");
}

TEST(StandardFolders, DesktopKeepsItsHangulName) {
  const std::string root = jwwtest::FreshFolder("xdg_hangul");
  XdgFolders xdg(root, "바탕화면");
  EXPECT_EQ(DesktopFolderPath(), root + "바탕화면/");
}

}  // namespace
