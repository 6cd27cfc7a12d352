// What the viewer's scene must look like, worked out from its geometry alone:
// a 45-degree perspective, a look-at camera, a sphere of radius 1.5 (as
// GLUT builds it from 10 stacks) and a cube of edge 2 centred one unit above
// the ground, and the ground plane. Tests compare rendered pixels with this
// model, never with the code's own numbers.
#pragma once

#include <optional>

namespace test_support {

struct Vec3 {
  double x, y, z;
};

struct Rgb {
  int r, g, b;
};

struct View {
  Vec3 eye;
  Vec3 centre;
  Vec3 up;
  int width = 640;
  int height = 480;
};

enum class Surface {
  kSky,
  kGround,
  kSphere,
  kCubeTop,
  kCubeBottom,
  kCubeFront,
  kCubeBack,
  kCubeLeft,
  kCubeRight
};

// The camera's start place: 2.5 up, 5 out along +z, looking along -z.
View Start_View();

// Window coordinates (pixels, origin at the bottom left, as glReadPixels
// counts rows) of a world point.
struct Window_Point {
  double x, y;
};
Window_Point Project(const View& view, Vec3 world);

// The surface seen through the centre of pixel (column, row).
Surface Trace(const View& view, int column, int row);

// The surface seen through this pixel and through every pixel within
// `margin` of it, or nothing when the pixel lies near an edge.
std::optional<Surface> Stable_Trace(const View& view, int column, int row,
                                    int margin = 2);

// The flat colour each surface is drawn in; the ground is black between its
// lines, like the sky.
Rgb Colour_Of(Surface surface);

const char* Name_Of(Surface surface);

}  // namespace test_support
