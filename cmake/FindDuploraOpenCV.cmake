# The four OpenCV modules the alignment by features needs (core, imgproc, features2d,
# calib3d). Debian ships them as separate -dev packages without OpenCV's CMake package or
# pkg-config file, which come only with the whole library; so the package is tried first
# and the headers and libraries are looked up directly when it is not there.
# Defines the imported target Duplora::OpenCV, its headers included as system headers:
# under C++20 they warn about their own enum arithmetic.
set(_duplora_cv_modules core imgproc features2d calib3d)

find_package(OpenCV 4 QUIET COMPONENTS ${_duplora_cv_modules})
if(OpenCV_FOUND)
  add_library(Duplora::OpenCV INTERFACE IMPORTED)
  target_include_directories(Duplora::OpenCV SYSTEM INTERFACE ${OpenCV_INCLUDE_DIRS})
  foreach(module ${_duplora_cv_modules})
    target_link_libraries(Duplora::OpenCV INTERFACE opencv_${module})
  endforeach()
  return()
endif()

find_path(DUPLORA_OPENCV_INCLUDE_DIR opencv2/features2d.hpp PATH_SUFFIXES opencv4)
if(NOT DUPLORA_OPENCV_INCLUDE_DIR)
  message(FATAL_ERROR "OpenCV headers not found: install libopencv-core-dev, "
                      "libopencv-imgproc-dev, libopencv-features2d-dev and "
                      "libopencv-calib3d-dev (scripts/install-deps)")
endif()
set(_duplora_cv_libraries)
foreach(module ${_duplora_cv_modules})
  find_library(DUPLORA_OPENCV_${module}_LIBRARY opencv_${module})
  if(NOT DUPLORA_OPENCV_${module}_LIBRARY)
    message(FATAL_ERROR "OpenCV library opencv_${module} not found (scripts/install-deps)")
  endif()
  list(APPEND _duplora_cv_libraries ${DUPLORA_OPENCV_${module}_LIBRARY})
endforeach()
add_library(Duplora::OpenCV INTERFACE IMPORTED)
target_include_directories(Duplora::OpenCV SYSTEM INTERFACE ${DUPLORA_OPENCV_INCLUDE_DIR})
target_link_libraries(Duplora::OpenCV INTERFACE ${_duplora_cv_libraries})
message(STATUS "OpenCV modules: ${_duplora_cv_libraries}")
