# The system's code, compiled once and linked with whichever platform stands
# behind the Win32 calls: Windows itself, our SDL2 layer, or the test fake.

# The global state: handles, flags, the key table and the camera.
add_library(quarnel_state STATIC app/globals.cpp)
target_include_directories(quarnel_state PUBLIC ${PROJECT_SOURCE_DIR})

add_library(quarnel_camera STATIC camera/camera.cpp camera/camera_position.cpp
                                  camera/keyboard.cpp)
target_link_libraries(quarnel_camera PUBLIC quarnel_state)

add_library(quarnel_render STATIC render/scene.cpp render/glut_ready.cpp)
# InitGL places the camera.
target_link_libraries(quarnel_render PUBLIC quarnel_state quarnel_camera
                                            OpenGL::GL OpenGL::GLU quarnel_glut)

add_library(quarnel_window STATIC window/window_procedure.cpp
                                  window/gl_window.cpp)
target_link_libraries(quarnel_window PUBLIC quarnel_state)

# The entry function and its main loop. An object library, so that its
# WinMain is linked in whole: on Windows it is the program's entry. The unit
# tests link it with a recording scene instead of quarnel_render.
add_library(quarnel_app OBJECT app/win_main.cpp)
target_link_libraries(quarnel_app PUBLIC quarnel_window quarnel_camera)
