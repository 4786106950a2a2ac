# What the Windows build takes instead of the Linux one's packages: the system's own DLLs
# and a googletest built here from Debian's sources with the cross compiler.
enable_language(RC)

# Built before the project's warnings apply: googletest is not ours to keep warning-free.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# app/ names its executable the Qt way; here it is a plain one, made a GUI program and given
# its resources by the top level.
macro(qt_add_executable)
    add_executable(${ARGV})
endmacro()

# Only the W functions are called; these keep windows.h small and its macros out of the way.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
