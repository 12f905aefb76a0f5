# GoogleTest as the targets GTest::gtest, GTest::gmock and GTest::gtest_main.
# Natively it is Debian's package; for the Windows test programs, which need
# a MinGW build of it, it is built from Debian's sources (googletest).
if(CMAKE_CROSSCOMPILING)
  set(googletest_source /usr/src/googletest)
  if(NOT EXISTS ${googletest_source}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${googletest_source}: install googletest")
  endif()
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # Its own lists name the targets GTest::gtest, GTest::gmock and so on.
  add_subdirectory(${googletest_source} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
