# Cross build for 32-bit Windows: the program for 32-bit systems (and the one
# a 64-bit system redirects, see app/).
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
