#include "app/ui/main_frame.h"

#include <gtest/gtest.h>

#include "app/ui/desktop.h"
#include "temp_dir.h"

namespace kdm {
namespace {

TEST(MainFrame, OpensWithItsCaption) {
  test::EmptyStore s;
  MainFrame frame(*s.store);
  frame.show();
  EXPECT_EQ(frame.windowTitle().toStdString(), "VALTA - OBRAZAC K-Dm  ver. 2005.1.0");
}

TEST(Desktop, WithoutADisplayItSaysSoInOneLine) {
  const char* saved[] = {std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY")};
  std::string keep[3];
  for (int i = 0; i < 3; ++i) keep[i] = saved[i] ? saved[i] : "";
  unsetenv("QT_QPA_PLATFORM");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  std::string why;
  EXPECT_FALSE(displayAvailable(why));
  EXPECT_NE(why.find("kdm --help"), std::string::npos);
  const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
  for (int i = 0; i < 3; ++i)
    if (saved[i]) setenv(names[i], keep[i].c_str(), 1);
  EXPECT_TRUE(displayAvailable(why));
}

}  // namespace
}  // namespace kdm
