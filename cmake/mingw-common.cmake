# Shared part of the mingw-w64 toolchain files; the including file sets CRADLE_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)
# The posix-thread variant: GoogleTest needs std::mutex, which the win32 variant lacks.
set(CMAKE_C_COMPILER ${CRADLE_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CRADLE_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${CRADLE_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${CRADLE_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
