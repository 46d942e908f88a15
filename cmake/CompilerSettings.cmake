# Flags shared by every target of the project.
#
# Sources are UTF-8. Japanese literals must become the system's own Shift-JIS
# (CP932) bytes, so g++ compiles with -fexec-charset=CP932. clang cannot do
# that; the fuzz build compiles a copy of the tree in which scripts/escape-cp932
# has already rewritten such literals as octal escapes.

if(CMAKE_BUILD_TYPE STREQUAL "")
  set(CMAKE_BUILD_TYPE Release CACHE STRING "" FORCE)
endif()

add_compile_options(-Wall -Wextra -Wno-unused-parameter -ffp-contract=off -fno-fast-math)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-finput-charset=UTF-8 -fexec-charset=CP932)
else()
  add_compile_options(-Wno-invalid-source-encoding)
endif()
if(MOVAN_WERROR)
  add_compile_options(-Werror)
endif()
if(MOVAN_FUZZ)
  # Coverage for libFuzzer in every library; the targets add the driver.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
if(MOVAN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # GCC's flow analysis gives false "maybe uninitialized" reports under the sanitizers.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
  add_link_options(-fsanitize=address,undefined)
endif()
if(MOVAN_THREAD_SANITIZE)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
if(MOVAN_SANITIZE OR MOVAN_THREAD_SANITIZE)
  # The reports need file and line, not locals: line tables alone keep the
  # test binaries a tenth of their size with full debug information.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-g1)
  else()
    add_compile_options(-gline-tables-only)
  endif()
endif()

# Hot paths (the software renderer) ask for -O3 themselves through this:
# movan_hot_path(target) for the whole target, or
# movan_hot_path(target SOURCES files...) for some of its sources, called in
# the target's own directory.
function(movan_hot_path target)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  set(flag $<$<CONFIG:Release,RelWithDebInfo>:-O3>)
  if(ARG_SOURCES)
    set_property(SOURCE ${ARG_SOURCES} TARGET_DIRECTORY ${target} APPEND PROPERTY COMPILE_OPTIONS ${flag})
  else()
    target_compile_options(${target} PRIVATE ${flag})
  endif()
endfunction()
