#include "render/glut_ready.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// GLUT opens an X connection of its own when it starts; where it cannot,
// the viewer must end with its own clear message, not GLUT's.
TEST(GlutReadyDeathTest, ADisplayGlutCannotOpenEndsWithAClearMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("DISPLAY", ":9999", 1);
        Ensure_Glut_Ready();
      },
      ::testing::ExitedWithCode(EXIT_FAILURE),
      // (POSIX regular expressions: "." also matches the line break.)
      "Quarnel cannot draw its scene: GLUT says: .*:9999.*"
      "Quarnel needs an X display that it can open");
}

}  // namespace
