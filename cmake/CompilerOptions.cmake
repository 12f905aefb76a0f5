# Warnings for every target of the project, errors in CI builds.
# Every warning that the project silences is silenced here, once.
add_library(tagwright_options INTERFACE)
target_compile_options(tagwright_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wold-style-cast -Woverloaded-virtual -Wformat=2)
# COM interfaces have no virtual destructor by design: objects are freed
# through Release, never deleted through an interface pointer. The native
# builds, which hold no COM code, keep the warning.
if(NOT WIN32)
  target_compile_options(tagwright_options INTERFACE -Wnon-virtual-dtor)
endif()
if(TAGWRIGHT_WERROR)
  target_compile_options(tagwright_options INTERFACE -Werror)
endif()
target_include_directories(tagwright_options INTERFACE ${PROJECT_SOURCE_DIR})

if(TAGWRIGHT_SANITIZE)
  string(REPLACE ";" "," _sanitizers "${TAGWRIGHT_SANITIZE}")
  add_compile_options(-fsanitize=${_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_sanitizers})
endif()

# The fuzz build instruments every library for the fuzzer's coverage and
# the sanitizers, not only the entry points: a fault in a parser must be
# seen where it happens, and any sanitizer report stops the run.
if(TAGWRIGHT_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -O1)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # The DLL and the programs need nothing but the system's own DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# GCC 12 reports -Wrestrict for std::string appends at -O3 that cannot
# overlap (GCC bug 105651, fixed in GCC 13); keep the rest of the warnings.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(tagwright_options INTERFACE -Wno-restrict)
endif()
