# nlohmann-json and GoogleTest for both trees. The native tree takes Debian's
# packages; the cross tree cannot search /usr/include (glibc headers), so it
# gets a private copy of the header-only JSON library and builds GoogleTest
# from Debian's sources with the mingw-w64 compiler.
if(WIN32)
  set(_json_dir ${CMAKE_BINARY_DIR}/third_party/include)
  file(COPY /usr/include/nlohmann DESTINATION ${_json_dir})
  add_library(tessaly_json INTERFACE)
  target_include_directories(tessaly_json SYSTEM INTERFACE ${_json_dir})

  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(nlohmann_json 3 REQUIRED)
  add_library(tessaly_json INTERFACE)
  target_link_libraries(tessaly_json INTERFACE nlohmann_json::nlohmann_json)
  find_package(GTest REQUIRED)
  find_package(benchmark QUIET)
endif()
