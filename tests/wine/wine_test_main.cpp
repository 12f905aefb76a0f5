// The test host: runs under wine64 in the prefix where run.sh registered
// Tagwright.dll, and drives the component through its COM interfaces.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/wine/wine_env.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (wine_tests::dllPath().empty() || wine_tests::portFilePath().empty()) {
    std::fprintf(stderr,
                 "TAGWRIGHT_DLL and TAGWRIGHT_PORT_FILE must name the DLL and the file "
                 "behind COM5 (tests/wine/run.sh sets them)\n");
    return 2;
  }
  // The host calls the component from one single-threaded apartment.
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
