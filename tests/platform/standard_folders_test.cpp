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

}  // namespace
