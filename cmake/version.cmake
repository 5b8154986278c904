# Reads the program's version ("1.03") from src/res/version.h into VIVIVUZ_VERSION.
# Run as a script (cmake -P cmake/version.cmake), it prints the version.
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/../src/res/version.h" vivi_version_line
     REGEX "^#define VIVIVUZ_VERSION \"[0-9]+\\.[0-9][0-9]\"$")
if(NOT vivi_version_line MATCHES "\"([0-9]+\\.[0-9][0-9])\"")
  message(FATAL_ERROR "no VIVIVUZ_VERSION \"major.minor\" in src/res/version.h")
endif()
set(VIVIVUZ_VERSION "${CMAKE_MATCH_1}")
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${VIVIVUZ_VERSION}")
endif()
