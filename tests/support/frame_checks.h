// Checks of a rendered 640 x 480 frame against the scene model, shared by
// the GL tests (back buffer) and the end-to-end tests (screenshots).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/scene_model.h"

namespace test_support {

// A frame's pixel at (column, row), rows counted from the bottom as in GL.
using Pixel_Source = std::function<Rgb(int column, int row)>;

bool Near(Rgb a, Rgb b, int tolerance = 2);
std::string Text(Rgb colour);
// Report lines, one per line, for a failure message.
std::string Listed(const std::vector<std::string>& lines);

struct Frame_Report {
  std::map<Surface, int> matched;       // lattice pixels that agreed
  std::vector<std::string> mismatches;  // and the ones that did not
  int Matched(Surface surface) const;
};

// Every pixel of a coarse lattice whose surface is certain (away from
// edges), other than the ground, compared with that surface's colour.
Frame_Report Compare_With_Model(const View& view, const Pixel_Source& frame);

// Pixels of the cube's front and top faces that the model shows near the
// front-top corner at x = corner_x, compared likewise.
Frame_Report Compare_Front_Top_Corner(const View& view, double corner_x,
                                      const Pixel_Source& frame);

// For a level view: the grid lines z = -5, -10 and -15 appear as pale-green
// rows where they project, on both sides of the sphere. Returns failures.
std::vector<std::string> Check_Grid_Rows(const View& view,
                                         const Pixel_Source& frame);

}  // namespace test_support
