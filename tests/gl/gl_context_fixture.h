// A real Mesa context for the scene's tests: a hidden 640 x 480 SDL window
// on a private Xvfb, made once per test process.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/scene_model.h"

class GLContextTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // The back buffer as rows of RGB, bottom row first, as GL counts them.
  struct Frame {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    test_support::Rgb At(int column, int row) const;
  };
  static Frame Read_Back_Buffer();
};
