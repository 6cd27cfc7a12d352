// Counts the frames a program shows, for the leak check's figures: loaded
// with LD_PRELOAD, it stands in front of SDL's buffer swap and reports the
// count on standard error when the program ends.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>

static unsigned long frames;

void SDL_GL_SwapWindow(void* window) {
  static void (*real_swap)(void*);
  if (!real_swap)
    real_swap = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
  ++frames;
  real_swap(window);
}

__attribute__((destructor)) static void Report_Frames(void) {
  if (frames) fprintf(stderr, "frames shown: %lu\n", frames);
}
