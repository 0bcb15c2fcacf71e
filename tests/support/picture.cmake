# The test pictures library (picture.h), for the window tests, the pixel tests and the
# frame-timing benchmark alike; included wherever it is needed and defined only once.
if(NOT TARGET test_picture)
  find_package(PNG REQUIRED)
  add_library(test_picture STATIC ${CMAKE_CURRENT_LIST_DIR}/picture.cpp)
  target_include_directories(test_picture PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(test_picture PUBLIC quenlow_options PRIVATE PNG::PNG)
endif()
