# The program's code drawing into an offscreen Mesa context: the real OpenGL through
# libOpenGL and libEGL, with no X server and no freeglut. Shared by the pixel tests, the
# README's pictures and the frame-timing benchmark, so it is defined once for all of them.
include(${CMAKE_CURRENT_LIST_DIR}/../support/picture.cmake)
if(NOT TARGET quenlow_offscreen)
  find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL)
  # Object files, so that the toolkit stand-ins resolve the core library's calls to them.
  add_library(quenlow_offscreen OBJECT ${CMAKE_CURRENT_LIST_DIR}/offscreen.cpp)
  target_include_directories(quenlow_offscreen PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(quenlow_offscreen PUBLIC
    quenlow_options quenlow_core test_picture OpenGL::OpenGL OpenGL::EGL)
endif()
