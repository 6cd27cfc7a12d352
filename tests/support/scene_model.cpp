#include "tests/support/scene_model.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <limits>

namespace test_support {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFieldOfViewDegrees = 45;
constexpr double kNear = 0.1;
constexpr double kFar = 100;
const Vec3 kSceneCentre = {0, 1, 0};  // cube and sphere
constexpr double kSphereRadius = 1.5;
constexpr double kCubeHalfEdge = 1;

Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 Normalised(Vec3 a) { return (1 / std::sqrt(Dot(a, a))) * a; }

struct Basis {
  Vec3 forward, side, up;
};

Basis Camera_Basis(const View& view) {
  const Vec3 forward = Normalised(view.centre - view.eye);
  const Vec3 side = Normalised(Cross(forward, view.up));
  return {forward, side, Cross(side, forward)};
}

double Half_Height_Slope() {
  return std::tan(kFieldOfViewDegrees / 2 * kPi / 180);
}

double Aspect(const View& view) {
  return static_cast<double>(view.width) / view.height;
}

constexpr double kMiss = std::numeric_limits<double>::infinity();

// GLUT's sphere is not round: its 10 stacks make it a pile of conical
// bands between latitude rings about its z axis, each lying inside the true
// sphere between its rings. (Its 500 slices are round enough.)
constexpr int kSphereStacks = 10;

double Hit_Band(Vec3 origin, Vec3 direction, int stack) {
  const double top_angle = kPi * stack / kSphereStacks;
  const double bottom_angle = kPi * (stack + 1) / kSphereStacks;
  const double z1 = kSphereRadius * std::cos(top_angle);
  const double z2 = kSphereRadius * std::cos(bottom_angle);
  const double rho1 = kSphereRadius * std::sin(top_angle);
  const double rho2 = kSphereRadius * std::sin(bottom_angle);
  // The band's radius about the axis grows linearly with z: rho = a + b z.
  const double b = (rho2 - rho1) / (z2 - z1);
  const double a = rho1 - b * z1;
  const Vec3 o = origin - kSceneCentre;
  const Vec3 d = direction;
  // (o.x + t d.x)^2 + (o.y + t d.y)^2 = (a + b (o.z + t d.z))^2
  const double qa = d.x * d.x + d.y * d.y - b * b * d.z * d.z;
  const double qb = 2 * (o.x * d.x + o.y * d.y - b * d.z * (a + b * o.z));
  const double qc = o.x * o.x + o.y * o.y - (a + b * o.z) * (a + b * o.z);
  const double discriminant = qb * qb - 4 * qa * qc;
  if (discriminant < 0 || qa == 0) return kMiss;
  const double root = std::sqrt(discriminant);
  double best = kMiss;
  for (double t : {(-qb - root) / (2 * qa), (-qb + root) / (2 * qa)}) {
    const double z = o.z + t * d.z;
    const double rho = a + b * z;
    if (t > 0 && rho >= 0 && z <= z1 && z >= z2) best = std::min(best, t);
  }
  return best;
}

double Hit_Sphere(Vec3 origin, Vec3 direction) {
  double nearest = kMiss;
  for (int stack = 0; stack < kSphereStacks; ++stack)
    nearest = std::min(nearest, Hit_Band(origin, direction, stack));
  return nearest;
}

// Slab test against the cube; reports the face the ray enters through.
double Hit_Cube(Vec3 origin, Vec3 direction, Surface* face) {
  const double o[3] = {origin.x - kSceneCentre.x, origin.y - kSceneCentre.y,
                       origin.z - kSceneCentre.z};
  const double d[3] = {direction.x, direction.y, direction.z};
  const Surface low_faces[3] = {Surface::kCubeLeft, Surface::kCubeBottom,
                                Surface::kCubeBack};
  const Surface high_faces[3] = {Surface::kCubeRight, Surface::kCubeTop,
                                 Surface::kCubeFront};
  double entry = -kMiss, exit = kMiss;
  for (int axis = 0; axis < 3; ++axis) {
    if (d[axis] == 0) {
      if (std::fabs(o[axis]) > kCubeHalfEdge) return kMiss;
      continue;
    }
    double t_low = (-kCubeHalfEdge - o[axis]) / d[axis];
    double t_high = (kCubeHalfEdge - o[axis]) / d[axis];
    Surface near_face = low_faces[axis];
    if (t_low > t_high) {
      std::swap(t_low, t_high);
      near_face = high_faces[axis];
    }
    if (t_low > entry) {
      entry = t_low;
      *face = near_face;
    }
    exit = std::min(exit, t_high);
  }
  return (entry <= exit && entry > 0) ? entry : kMiss;
}

double Hit_Ground(Vec3 origin, Vec3 direction) {
  if (direction.y >= 0) return kMiss;
  return -origin.y / direction.y;
}

}  // namespace

View Start_View() { return {{0, 2.5, 5}, {0, 2.5, 0}, {0, 1, 0}}; }

Window_Point Project(const View& view, Vec3 world) {
  const Basis basis = Camera_Basis(view);
  const Vec3 relative = world - view.eye;
  const double depth = Dot(relative, basis.forward);
  const double slope = Half_Height_Slope();
  const double x_ndc =
      Dot(relative, basis.side) / (depth * slope * Aspect(view));
  const double y_ndc = Dot(relative, basis.up) / (depth * slope);
  return {(x_ndc + 1) * view.width / 2, (y_ndc + 1) * view.height / 2};
}

Surface Trace(const View& view, int column, int row) {
  const Basis basis = Camera_Basis(view);
  const double slope = Half_Height_Slope();
  const double x_ndc = (column + 0.5) / view.width * 2 - 1;
  const double y_ndc = (row + 0.5) / view.height * 2 - 1;
  const Vec3 direction = basis.forward +
                         (x_ndc * slope * Aspect(view)) * basis.side +
                         (y_ndc * slope) * basis.up;

  Surface nearest = Surface::kSky;
  double nearest_t = kMiss;
  const double t_sphere = Hit_Sphere(view.eye, direction);
  if (t_sphere < nearest_t) {
    nearest = Surface::kSphere;
    nearest_t = t_sphere;
  }
  Surface face = Surface::kSky;
  const double t_cube = Hit_Cube(view.eye, direction, &face);
  if (t_cube < nearest_t) {
    nearest = face;
    nearest_t = t_cube;
  }
  const double t_ground = Hit_Ground(view.eye, direction);
  if (t_ground < nearest_t) {
    nearest = Surface::kGround;
    nearest_t = t_ground;
  }
  // Along the view axis the direction has unit length, so t is the depth;
  // anything outside the near and far planes is clipped away.
  if (nearest_t < kNear || nearest_t > kFar) return Surface::kSky;
  return nearest;
}

std::optional<Surface> Stable_Trace(const View& view, int column, int row,
                                    int margin) {
  const Surface centre = Trace(view, column, row);
  for (int dy = -margin; dy <= margin; dy += margin)
    for (int dx = -margin; dx <= margin; dx += margin)
      if (Trace(view, column + dx, row + dy) != centre) return std::nullopt;
  return centre;
}

Rgb Colour_Of(Surface surface) {
  switch (surface) {
    case Surface::kSky:
    case Surface::kGround:
      return {0, 0, 0};
    case Surface::kSphere:
    case Surface::kCubeRight:
      return {255, 0, 255};
    case Surface::kCubeTop:
      return {0, 255, 0};
    case Surface::kCubeBottom:
      return {255, 128, 0};
    case Surface::kCubeFront:
      return {255, 0, 0};
    case Surface::kCubeBack:
      return {255, 255, 0};
    case Surface::kCubeLeft:
      return {0, 0, 255};
  }
  return {-1, -1, -1};
}

const char* Name_Of(Surface surface) {
  switch (surface) {
    case Surface::kSky:
      return "sky";
    case Surface::kGround:
      return "ground";
    case Surface::kSphere:
      return "sphere";
    case Surface::kCubeTop:
      return "cube top";
    case Surface::kCubeBottom:
      return "cube bottom";
    case Surface::kCubeFront:
      return "cube front";
    case Surface::kCubeBack:
      return "cube back";
    case Surface::kCubeLeft:
      return "cube left";
    case Surface::kCubeRight:
      return "cube right";
  }
  return "?";
}

}  // namespace test_support
