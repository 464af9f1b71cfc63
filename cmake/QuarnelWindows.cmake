# Windows specifics of the shipped DLL: the export table, stdcall names without
# decoration, an import library that stdcall callers can link against, BSTR
# functions imported by ordinal, and no runtime DLLs beyond the system's.

# On 64-bit Windows there is one calling convention and no @N decoration;
# strip it from a .def written for 32-bit.
function(quarnel_def_for_target source out_var)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(${out_var} ${source} PARENT_SCOPE)
    return()
  endif()
  get_filename_component(name ${source} NAME)
  file(READ ${source} text)
  string(REGEX REPLACE "@[0-9]+" "" text "${text}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/x64-${name}.tmp "${text}")
  configure_file(${CMAKE_CURRENT_BINARY_DIR}/x64-${name}.tmp
                 ${CMAKE_CURRENT_BINARY_DIR}/x64-${name} COPYONLY)
  set(${out_var} ${CMAKE_CURRENT_BINARY_DIR}/x64-${name} PARENT_SCOPE)
endfunction()

function(quarnel_windows_setup)
  if(NOT CMAKE_DLLTOOL)
    find_program(CMAKE_DLLTOOL NAMES ${CMAKE_CXX_COMPILER_TARGET}-dlltool dlltool REQUIRED)
  endif()
  set(kill_at "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(kill_at -k)
  endif()

  # OLE Automation by ordinal.
  file(READ ${PROJECT_SOURCE_DIR}/cmake/oleaut32_ordinals.def ole_text)
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
    string(REGEX REPLACE "([A-Za-z]+)@[0-9]+ " "\\1 " ole_text "${ole_text}")
  endif()
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/oleaut32_ordinals.def "${ole_text}")
  set(ole_lib ${CMAKE_CURRENT_BINARY_DIR}/liboleaut32_ordinals.a)
  add_custom_command(
    OUTPUT ${ole_lib}
    COMMAND ${CMAKE_DLLTOOL} -d ${CMAKE_CURRENT_BINARY_DIR}/oleaut32_ordinals.def ${kill_at}
            -l ${ole_lib}
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/oleaut32_ordinals.def
    COMMENT "Import library for the OLE Automation BSTR functions")
  add_custom_target(quarnel_oleaut32 DEPENDS ${ole_lib})
  add_library(quarnel_ole_ordinals INTERFACE)
  target_link_libraries(quarnel_ole_ordinals INTERFACE ${ole_lib})
  add_dependencies(quarnel_objects quarnel_oleaut32)
  target_link_libraries(quarnel_static INTERFACE quarnel_ole_ordinals)

  quarnel_def_for_target(${PROJECT_SOURCE_DIR}/src/exports/Quarnel.def def)
  target_sources(quarnel PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/exports/dllmain.cpp ${def})
  target_link_libraries(quarnel PRIVATE quarnel_ole_ordinals)
  set_target_properties(quarnel PROPERTIES PREFIX "" OUTPUT_NAME Quarnel
                                           IMPORT_PREFIX "lib" IMPORT_SUFFIX ".dll.a")
  target_link_options(quarnel PRIVATE -static -static-libgcc -static-libstdc++)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # Export plain names, and replace the linker's import library (which
    # loses the @N that stdcall callers link by) with one made from the .def.
    target_link_options(quarnel PRIVATE -Wl,--kill-at)
    add_custom_command(TARGET quarnel POST_BUILD
      COMMAND ${CMAKE_DLLTOOL} -d ${def} -k -D Quarnel.dll -l $<TARGET_LINKER_FILE:quarnel>
      COMMENT "Import library with stdcall decorations")
  endif()
endfunction()
