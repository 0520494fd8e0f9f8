# Checks the four payload files and prints what will be embedded: name, size and SHA-256.
# Used at configure time (include, then cradle_check_payloads) and at build time
# (cmake -DPAYLOAD_DIR=... -DSTAMP=... -P check_payloads.cmake).

set(CRADLE_PAYLOAD_FILES Assembly-CSharp.dll AliceInCradle.exe 安装前.PNG 安装后.PNG)

function(cradle_check_payloads dir)
  foreach(name ${CRADLE_PAYLOAD_FILES})
    set(path "${dir}/${name}")
    if(NOT EXISTS "${path}" OR IS_DIRECTORY "${path}")
      message(FATAL_ERROR "payload file missing: ${path}")
    endif()
    file(SIZE "${path}" size)
    if(size EQUAL 0)
      message(FATAL_ERROR "payload file is empty: ${path}")
    endif()
    file(READ "${path}" head LIMIT 8 HEX)
    if(name MATCHES "\\.(dll|exe)$" AND NOT head MATCHES "^4d5a")
      message(FATAL_ERROR "payload file is not a Windows program or library (it does not start with \"MZ\"): ${path}")
    endif()
    if(name MATCHES "\\.PNG$" AND NOT head STREQUAL "89504e470d0a1a0a")
      message(FATAL_ERROR "payload file is not a PNG picture (no PNG signature): ${path}")
    endif()
    file(SHA256 "${path}" digest)
    message(STATUS "payload ${name}: ${size} bytes, SHA-256 ${digest}")
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  cradle_check_payloads("${PAYLOAD_DIR}")
  file(WRITE "${STAMP}" "")
endif()
