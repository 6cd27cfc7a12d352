// Device contexts, pixel formats and GL contexts, over SDL's GL calls.
#include "platform/sdl/layer.h"

namespace {

constexpr int kOnlyPixelFormat = 1;

bool Is_Live_Device_Context(HDC hdc) {
  return hdc && sdl_layer::Find_Window(hdc->window) &&
         hdc->window->device_context == hdc;
}

void Set_Colour_Bits(int colour_bits) {
  // Minimum sizes per channel: 16 bits ask for 5-6-5, more for 8-8-8.
  const int red = colour_bits >= 24 ? 8 : colour_bits >= 16 ? 5 : 0;
  const int green = colour_bits >= 24 ? 8 : colour_bits >= 16 ? 6 : 0;
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, red);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, green);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, red);
}

}  // namespace

HDC WINAPI GetDC(HWND hWnd) {
  return sdl_layer::Find_Window(hWnd) ? hWnd->device_context : nullptr;
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
  // Each window keeps its own device context until it is destroyed.
  return sdl_layer::Find_Window(hWnd) && hWnd->device_context == hDC ? 1 : 0;
}

int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* ppfd) {
  if (!Is_Live_Device_Context(hdc) || !ppfd) return 0;
  const bool usable = (ppfd->dwFlags & PFD_SUPPORT_OPENGL) &&
                      (ppfd->dwFlags & PFD_DRAW_TO_WINDOW) &&
                      ppfd->iPixelType == PFD_TYPE_RGBA;
  return usable ? kOnlyPixelFormat : 0;
}

BOOL WINAPI SetPixelFormat(HDC hdc, int format,
                           const PIXELFORMATDESCRIPTOR* ppfd) {
  // As on Windows, a window's pixel format is set once.
  if (!Is_Live_Device_Context(hdc) || !ppfd || format != kOnlyPixelFormat ||
      hdc->has_pixel_format)
    return FALSE;
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER,
                      (ppfd->dwFlags & PFD_DOUBLEBUFFER) ? 1 : 0);
  Set_Colour_Bits(ppfd->cColorBits);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, ppfd->cAlphaBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, ppfd->cDepthBits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, ppfd->cStencilBits);
  // X11 chooses a window's visual when the window is made, so the GL window
  // is made now that the format is known (anew, if it was shown before).
  hdc->window->sdl_flags |= SDL_WINDOW_OPENGL;
  if (!sdl_layer::Make_Sdl_Window(hdc->window)) return FALSE;
  hdc->has_pixel_format = true;
  return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC hdc) {
  if (!Is_Live_Device_Context(hdc) || !hdc->has_pixel_format) return nullptr;
  // SDL makes a new context current; wglCreateContext does not.
  SDL_Window* previous_window = SDL_GL_GetCurrentWindow();
  SDL_GLContext previous_context = SDL_GL_GetCurrentContext();
  SDL_GLContext context = SDL_GL_CreateContext(hdc->window->sdl_window);
  if (!context) return nullptr;
  // Now the GL's drawing limit is known: no window may outgrow it.
  sdl_layer::Learn_Gl_Size_Limit();
  sdl_layer::Limit_Window_Size(hdc->window);
  SDL_GL_MakeCurrent(previous_window, previous_context);
  return new HGLRC__{context};
}

BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC hglrc) {
  if (!hglrc) return SDL_GL_MakeCurrent(nullptr, nullptr) == 0 ? TRUE : FALSE;
  if (!Is_Live_Device_Context(hdc)) return FALSE;
  return SDL_GL_MakeCurrent(hdc->window->sdl_window, hglrc->context) == 0
             ? TRUE
             : FALSE;
}

BOOL WINAPI wglDeleteContext(HGLRC hglrc) {
  if (!hglrc) return FALSE;
  SDL_GL_DeleteContext(hglrc->context);
  delete hglrc;
  return TRUE;
}

BOOL WINAPI SwapBuffers(HDC hdc) {
  if (!Is_Live_Device_Context(hdc)) return FALSE;
  SDL_GL_SwapWindow(hdc->window->sdl_window);
  return TRUE;
}
