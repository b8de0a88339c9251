# The 32-bit half: this tree configured again with the i686 toolchain into
# <build>/win32, built with this build. It makes dravik.wlx for the package and
# the stand-ins and test programs its Windows tests need (not the benchmarks,
# nor the native half, which does not depend on the architecture); its tests
# are listed in this build's ctest as win32.* and dll32.exports.
include(ExternalProject)
set(DRAVIK_32BIT_DIR ${CMAKE_BINARY_DIR}/win32)
set(DRAVIK_PLUGIN_32BIT ${DRAVIK_32BIT_DIR}/bin/dravik.wlx)
ExternalProject_Add(win32_side
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${DRAVIK_32BIT_DIR}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64-i686.cmake
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
             -DDRAVIK_NATIVE_TESTS=OFF -DDRAVIK_BENCHMARKS=OFF
             -DDRAVIK_KOTLIN_CLASSES=${CMAKE_BINARY_DIR}/kotlin/classes
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${DRAVIK_PLUGIN_32BIT}
  BUILD_ALWAYS ON)

# ctest's subdirs() reads a build folder's test list with that folder as the
# current one, so the nested folders of the other build resolve as they should.
file(WRITE ${CMAKE_BINARY_DIR}/win32_tests.cmake
  "subdirs(\"${DRAVIK_32BIT_DIR}/tests/windows\")\n")
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES
  ${CMAKE_BINARY_DIR}/win32_tests.cmake)
