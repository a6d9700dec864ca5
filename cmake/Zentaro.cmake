# Helpers shared by the subsystems' CMakeLists.

# zentaro_core_library(NAME sources...): a pure library (no <windows.h>) built by every
# preset. Its headers are found from the repository root ("face/DrawLayout.h").
set_property(GLOBAL PROPERTY ZENTARO_CORE_LIBS "")
function(zentaro_core_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  set_property(GLOBAL APPEND PROPERTY ZENTARO_CORE_LIBS ${name})
endfunction()

# zentaro_win_library(NAME sources...): the Win32 library of one folder, built by the Windows
# presets only. Each folder's library links only the layers below it (scripts/layers.py checks
# the includes against the same order).
function(zentaro_win_library name)
  if(WIN32)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  endif()
endfunction()

# zentaro_program(TARGET): a shipped program. Its debug information moves into TARGET.exe.debug
# beside it (found by debuggers through a link in the program): the loader reads a MinGW
# program's debug sections into memory with the rest of the image, megabytes every running
# copy would carry for nothing.
function(zentaro_program target)
  add_custom_command(TARGET ${target} POST_BUILD
                     COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
                     COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
                             $<TARGET_FILE:${target}>
                     VERBATIM)
  install(TARGETS ${target} RUNTIME DESTINATION .)
endfunction()
