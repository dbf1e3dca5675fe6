# Warnings and sanitizers for every target of ours.
add_library(tavorin_options INTERFACE)
target_compile_options(tavorin_options INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual -Werror=return-type)
target_compile_definitions(tavorin_options INTERFACE QT_NO_KEYWORDS)
target_include_directories(tavorin_options INTERFACE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
if(TAVORIN_WERROR)
  target_compile_options(tavorin_options INTERFACE -Werror)
endif()
if(TAVORIN_SANITIZE)
  target_compile_options(tavorin_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tavorin_options INTERFACE -fsanitize=address,undefined)
endif()

# tavorin_library(name folder SOURCES ... DEPS ...): one static library per source folder.
function(tavorin_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC tavorin_options ${ARG_DEPS})
endfunction()
