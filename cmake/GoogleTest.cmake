# GoogleTest for the current host: built from its sources where they are (Debian's
# googletest package, or a pinned release checked out by the Windows workflow), else the
# built package that the system provides (MSYS2's mingw-w64-x86_64-gtest, say).
set(LINGUARDE_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree, used when it exists")
if(EXISTS "${LINGUARDE_GTEST_SOURCE}/CMakeLists.txt")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory("${LINGUARDE_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  if(MSVC)
    set_property(TARGET gtest gtest_main PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  endif()
else()
  find_package(GTest CONFIG)
  if(NOT GTest_FOUND)
    message(FATAL_ERROR "GoogleTest not found: no sources in ${LINGUARDE_GTEST_SOURCE} and no "
                        "package (apt-get install googletest, or pacman -S mingw-w64-x86_64-gtest)")
  endif()
  add_library(gtest ALIAS GTest::gtest)
  add_library(gtest_main ALIAS GTest::gtest_main)
endif()
