// Whole drawings on the Qt canvas, compared pixel for pixel with the kept
// reference images of tests/data/reference: every real drawing and the
// showcase drawing, as a 320 × 240 thumbnail and as an A3 page at 300 dpi.
// tools/update_reference_images.sh draws them afresh (REFERENCE_IMAGES_UPDATE=1);
// a mismatch leaves the drawn image and a diff image in the test folder.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "canvas_probe.h"
#include "fitted_drawing.h"
#include "file_io.h"
#include "jww_data.h"
#include "showcase_drawing.h"
#include "test_paths.h"

namespace {

namespace fs = std::filesystem;

const fs::path kReferenceDir = fs::path(REALDATA_DIR).parent_path() / "reference";

struct TTarget {
  const char* name;
  int width, height;
} const kTargets[] = {{"320x240", 320, 240}, {"a3_300dpi", 4961, 3508}};

QImage DrawFitted(TJwwData& d, const std::string& drawingPath, const TTarget& target) {
  EnsureGuiApp();
  QImage image(target.width, target.height, QImage::Format_RGB32);
  image.fill(Qt::white);
  ::DrawFitted(d, drawingPath, image, target.width, target.height);
  return image;
}

// Red where the pixels differ, the reference faded elsewhere.
QImage DiffImage(const QImage& actual, const QImage& expected) {
  QImage diff(actual.size(), QImage::Format_RGB32);
  for (int y = 0; y < actual.height(); ++y)
    for (int x = 0; x < actual.width(); ++x) {
      const QRgb a = actual.pixel(x, y);
      const QRgb e = expected.valid(x, y) ? expected.pixel(x, y) : 0xFFFFFFFF;
      const int grey = 192 + qGray(e) / 4;
      diff.setPixel(x, y, a == e ? qRgb(grey, grey, grey) : qRgb(255, 0, 0));
    }
  return diff;
}

void CheckAgainstReference(const QImage& actual, const std::string& name) {
  const fs::path reference = kReferenceDir / (name + ".png");
  if (std::getenv("REFERENCE_IMAGES_UPDATE") != nullptr) {
    fs::create_directories(kReferenceDir);
    ASSERT_TRUE(actual.save(QString::fromStdString(reference.string()), "PNG"));
    return;
  }
  QImage expected(QString::fromStdString(reference.string()));
  ASSERT_FALSE(expected.isNull()) << reference << " is missing: run tools/update_reference_images.sh";
  expected = expected.convertToFormat(QImage::Format_RGB32);
  if (expected == actual) return;
  const fs::path out = fs::path(::testing::TempDir()) / "reference_diffs";
  fs::create_directories(out);
  actual.save(QString::fromStdString((out / (name + ".actual.png")).string()));
  DiffImage(actual, expected).save(QString::fromStdString((out / (name + ".diff.png")).string()));
  ADD_FAILURE() << name << " differs from its reference; see " << (out / (name + ".diff.png"));
}

std::vector<std::string> RealDrawings() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(REALDATA_DIR))
    if (entry.path().extension() == ".jww") names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReferenceImages, RealDrawings) {
  const std::vector<std::string> names = RealDrawings();
  ASSERT_FALSE(names.empty());
  for (const std::string& name : names) {
    TJwwData d;
    ASSERT_TRUE(d.LoadFromFile(RealDataPath(name))) << name;
    d.BuildBlockTree();
    for (const TTarget& t : kTargets) {
      SCOPED_TRACE(name + " " + t.name);
      // A fixed path: file-name variables must not show the test machine's folders.
      const QImage image = DrawFitted(d, "C:\\jww\\" + name, t);
      CheckAgainstReference(image, fs::path(name).stem().string() + "_" + t.name);
    }
  }
}

TEST(ReferenceImages, Showcase) {
  const std::string folder =
      (fs::path(::testing::TempDir()) / "reference_showcase").string() + "/";
  fs::create_directories(folder);
  TJwwData d;
  MakeShowcaseDrawing(d, folder);
  for (const TTarget& t : kTargets) {
    SCOPED_TRACE(t.name);
    const QImage image = DrawFitted(d, folder + "showcase.jww", t);
    CheckAgainstReference(image, std::string("showcase_") + t.name);
  }
}

}  // namespace
