# The recording stand-in for libGL and freeglut (gl_recorder.h), for the unit tests and the
# search-accuracy measurement alike; included wherever it is needed and defined only once.
if(NOT TARGET gl_recorder)
  add_library(gl_recorder STATIC ${CMAKE_CURRENT_LIST_DIR}/gl_recorder.cpp)
  target_include_directories(gl_recorder PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(gl_recorder PUBLIC quenlow_options)
endif()
