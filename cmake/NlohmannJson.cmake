# nlohmann-json (Debian's nlohmann-json3-dev) as the target
# nlohmann_json::nlohmann_json. The package's own target names /usr/include,
# which a cross build must never search before the MinGW headers, so there
# the headers (header-only, the same for every platform) are copied into the
# build tree and the target points at the copy.
find_package(nlohmann_json 3 REQUIRED)
if(CMAKE_CROSSCOMPILING)
  get_target_property(_json_includes nlohmann_json::nlohmann_json INTERFACE_INCLUDE_DIRECTORIES)
  list(GET _json_includes 0 _json_header_dir)
  if(NOT EXISTS ${_json_header_dir}/nlohmann/json.hpp)
    message(FATAL_ERROR "nlohmann/json.hpp not found in ${_json_header_dir}: install nlohmann-json3-dev")
  endif()
  set(_json_copy ${CMAKE_BINARY_DIR}/nlohmann_json/include)
  file(COPY ${_json_header_dir}/nlohmann DESTINATION ${_json_copy})
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${_json_copy})
endif()
