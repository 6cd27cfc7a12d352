#include "render/glut_ready.h"

#include <GL/freeglut.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

// GLUT calls this where it would otherwise print its own terse message and
// exit; the only failure it can meet here is a display it cannot open.
void Report_Glut_Failure(const char* format, va_list arguments) {
  std::fprintf(stderr, "Quarnel cannot draw its scene: GLUT says: ");
  std::vfprintf(stderr, format, arguments);
  std::fprintf(stderr,
               "\nQuarnel needs an X display that it can open (check "
               "DISPLAY).\n");
  std::exit(EXIT_FAILURE);
}

}  // namespace

void Ensure_Glut_Ready() {
  // Asking GLUT, rather than keeping a flag, also copes with a host that
  // started (or ended) GLUT itself.
  if (glutGet(GLUT_INIT_STATE)) return;
  glutInitErrorFunc(Report_Glut_Failure);
  char program_name[] = "quarnel";
  char* argv[] = {program_name, nullptr};
  int argc = 1;
  glutInit(&argc, argv);
}
