# The system's code, compiled once and linked with whichever platform stands
# behind the Win32 calls: Windows itself, our SDL2 layer, or the test fake.

# The camera, and the one camera that the viewer walks with.
add_library(quarnel_camera STATIC camera/camera.cpp camera/camera_position.cpp
                                  camera/keyboard.cpp)
target_include_directories(quarnel_camera PUBLIC ${PROJECT_SOURCE_DIR})

add_library(quarnel_render STATIC render/scene.cpp render/glut_ready.cpp)
# InitGL places the camera.
target_link_libraries(quarnel_render PUBLIC quarnel_camera OpenGL::GL
                                            OpenGL::GLU quarnel_glut)

# The window's handles, flags and key table on their own, so that the fake
# platform can reset them without linking the window code.
add_library(quarnel_window_state STATIC window/window_state.cpp)
target_include_directories(quarnel_window_state PUBLIC ${PROJECT_SOURCE_DIR})

add_library(quarnel_window STATIC window/window_procedure.cpp
                                  window/gl_window.cpp)
target_link_libraries(quarnel_window PUBLIC quarnel_window_state)

# The entry function and its main loop. An object library, so that its
# WinMain is linked in whole: on Windows it is the program's entry. The unit
# tests link it with a recording scene instead of quarnel_render.
add_library(quarnel_app OBJECT app/win_main.cpp)
target_link_libraries(quarnel_app PUBLIC quarnel_window quarnel_camera)
