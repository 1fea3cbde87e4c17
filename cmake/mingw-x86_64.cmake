# Cross build of the x86-64 twin: the same tree for 64-bit Windows, run under
# wine64 on machines that cannot run 32-bit programs. Never shipped.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# A cast that would cut a pointer to 32 bits stops the build.
set(CMAKE_C_FLAGS_INIT "-Werror=pointer-to-int-cast -Werror=int-to-pointer-cast")
set(CMAKE_CXX_FLAGS_INIT "-Werror=int-to-pointer-cast")
