# Delay-loaded system DLLs. The clock's idle state needs only the window, painting and
# tool-tip libraries; the file chooser (which drags in the printing stack), the shell, sound,
# OLE and transparent blits are first needed when the user asks for them. Each DLL gets an
# import library whose entries load the DLL on the first call (MinGW's delay-load helper).
#
# The list of functions is cmake/delayload/<dll>.def, written with the i686 stdcall argument
# size ("Name@bytes"); the x86_64 list drops the size. The programs link these libraries
# instead of the ordinary import libraries, so calling a function missing from the list fails
# the link rather than quietly loading the DLL at start-up again.

set(ZENTARO_DELAYLOAD_DIR ${CMAKE_CURRENT_LIST_DIR}/delayload)

# zentaro_delay_load_library(DLL): defines the imported target delayload::DLL.
function(zentaro_delay_load_library dll)
  if(TARGET delayload::${dll})
    return()
  endif()
  set(def_in ${ZENTARO_DELAYLOAD_DIR}/${dll}.def)
  set(def_out ${CMAKE_BINARY_DIR}/delayload/${dll}.def)
  set(lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
  file(READ ${def_in} text)
  set(keep_stubs "")
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    string(REGEX REPLACE "@[0-9]+" "" text "${text}")
    set(kill_at "")
  else()
    set(kill_at --kill-at)  # import by the plain name, as the DLL exports it
    # The i686 linker drops the code of an import stub that nothing calls by name, and the
    # headers declare these functions dllimport, so every call goes through the __imp_ pointer
    # and never names the stub. The pointer's first value is the stub (which loads the DLL);
    # with the stub dropped it is 0 and the first call jumps there. Naming each stub as
    # undefined keeps it. (The x86_64 linker keeps the stubs anyway.)
    string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*@[0-9]+" stubs "${text}")
    foreach(stub IN LISTS stubs)
      list(APPEND keep_stubs "LINKER:--undefined=_${stub}")
    endforeach()
  endif()
  file(CONFIGURE OUTPUT ${def_out} CONTENT "${text}" @ONLY)  # rewritten only when it changes
  add_custom_command(OUTPUT ${lib}
                     COMMAND ${CMAKE_DLLTOOL} ${kill_at} --input-def ${def_out} --output-delaylib ${lib}
                     DEPENDS ${def_in} ${def_out}
                     COMMENT "Delay-load import library for ${dll}.dll")
  add_custom_target(delayload_${dll} DEPENDS ${lib})
  add_library(delayload::${dll} STATIC IMPORTED GLOBAL)
  set_target_properties(delayload::${dll} PROPERTIES IMPORTED_LOCATION ${lib} INTERFACE_LINK_OPTIONS "${keep_stubs}")
  add_dependencies(delayload::${dll} delayload_${dll})
endfunction()

# zentaro_delay_load(TARGET VISIBILITY dll...): links TARGET with the delay-load libraries of
# the DLLs, followed by MinGW's delay-load helper.
function(zentaro_delay_load target visibility)
  foreach(dll IN LISTS ARGN)
    zentaro_delay_load_library(${dll})
    target_link_libraries(${target} ${visibility} delayload::${dll})
  endforeach()
  target_link_libraries(${target} ${visibility} delayimp)
endfunction()
