#include "tests/support/frame_checks.h"

#include <cstdlib>

namespace test_support {

namespace {

const Rgb kGridColour = {150, 190, 150};

std::string Where(int column, int row) {
  return "(" + std::to_string(column) + "," + std::to_string(row) + ")";
}

void Compare_Pixel(const View& view, int column, int row, int margin,
                   const Pixel_Source& frame, Frame_Report& report,
                   bool (*wanted)(Surface)) {
  const auto surface = Stable_Trace(view, column, row, margin);
  if (!surface || !wanted(*surface)) return;
  const Rgb got = frame(column, row);
  if (Near(got, Colour_Of(*surface)))
    ++report.matched[*surface];
  else
    report.mismatches.push_back(
        std::string(Name_Of(*surface)) + " at " + Where(column, row) +
        ": expected " + Text(Colour_Of(*surface)) + ", got " + Text(got));
}

}  // namespace

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

std::string Text(Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," +
         std::to_string(c.b) + ")";
}

std::string Listed(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

int Frame_Report::Matched(Surface surface) const {
  const auto found = matched.find(surface);
  return found == matched.end() ? 0 : found->second;
}

Frame_Report Compare_With_Model(const View& view, const Pixel_Source& frame) {
  Frame_Report report;
  for (int row = 4; row < view.height - 4; row += 6)
    for (int column = 4; column < view.width - 4; column += 6)
      Compare_Pixel(view, column, row, 2, frame, report,
                    [](Surface s) { return s != Surface::kGround; });
  return report;
}

Frame_Report Compare_Front_Top_Corner(const View& view, double corner_x,
                                      const Pixel_Source& frame) {
  Frame_Report report;
  const Window_Point corner = Project(view, {corner_x, 2, 1});
  for (int row = int(corner.y) - 30; row <= int(corner.y) + 30; ++row)
    for (int column = int(corner.x) - 30; column <= int(corner.x) + 30;
         ++column)
      Compare_Pixel(view, column, row, 1, frame, report, [](Surface s) {
        return s == Surface::kCubeFront || s == Surface::kCubeTop;
      });
  return report;
}

std::vector<std::string> Check_Grid_Rows(const View& view,
                                         const Pixel_Source& frame) {
  std::vector<std::string> failures;
  for (double z : {-5.0, -10.0, -15.0}) {
    // Lines parallel to x lie level across a level view.
    const int row = static_cast<int>(Project(view, {0, 0, z}).y);
    for (int column : {100, 540}) {
      bool found = false;
      for (int r = row - 1; r <= row + 1; ++r)
        found = found || Near(frame(column, r), kGridColour);
      if (!found)
        failures.push_back("no grid line z = " + std::to_string(z) + " near " +
                           Where(column, row) + ": " +
                           Text(frame(column, row)));
    }
  }
  return failures;
}

}  // namespace test_support
