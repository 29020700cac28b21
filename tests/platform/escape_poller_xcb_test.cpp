#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>

#include "escape_key_poller.h"
#include "private_x_server.h"

namespace {

TEST(EscapePoller, X11PollerChosenWhenTheApplicationRunsOnX11) {
  if (QCoreApplication::instance()) GTEST_SKIP() << "an application runs already in this process";
  PrivateXServer server;
  if (server.Name().empty()) GTEST_SKIP() << "no Xvfb";
  ::setenv("DISPLAY", server.Name().c_str(), 1);
  int argc = 3;
  char name[] = "platform_tests", option[] = "-platform", platform[] = "xcb";
  char* argv[] = {name, option, platform, nullptr};
  {
    QGuiApplication app(argc, argv);
    std::unique_ptr<TKeyStatePoller> poller = CreateEscapePoller();
    EXPECT_NE(dynamic_cast<TX11EscapePoller*>(poller.get()), nullptr);
    EXPECT_FALSE(poller->EscapeDown());
  }
  ::unsetenv("DISPLAY");
}

}  // namespace
