# quarnel_add_string_table(<target> <file.rc>...)
#
# Gives <target> -- an executable or a shared or module library -- the
# string tables of the .rc files, for LStrAllocLoadStrA / LStrAllocLoadStrW:
#  - on Windows the files are compiled as resources by the RC compiler;
#  - elsewhere quarnel-rcstrings compiles their STRINGTABLE statements into a
#    generated source that defines the exported table quarnel_string_table
#    (an executable gets that one symbol exported dynamically).
# Either way the scripts see the target's include directories and compile
# definitions, so one .rc file serves every platform. Call it once per
# target, naming all of its .rc files.
#
# Cross-compiling without an emulator: set QUARNEL_RCSTRINGS to a build of
# quarnel-rcstrings that runs on the build machine.
if(WIN32)
  enable_language(RC)
endif()

set(QUARNEL_RCSTRINGS "" CACHE FILEPATH
    "quarnel-rcstrings for the build machine (cross builds without an emulator)")

function(quarnel_add_string_table target)
  set(scripts "")
  foreach(script IN LISTS ARGN)
    get_filename_component(script "${script}" ABSOLUTE)
    list(APPEND scripts "${script}")
  endforeach()
  if(NOT scripts)
    message(FATAL_ERROR "quarnel_add_string_table(${target}): no .rc file given")
  endif()
  get_target_property(type ${target} TYPE)
  if(NOT type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
    message(FATAL_ERROR "quarnel_add_string_table(${target}): a ${type} cannot carry a string "
                        "table; use an executable or a shared or module library")
  endif()
  get_target_property(done ${target} QUARNEL_STRING_TABLE)
  if(done)
    message(FATAL_ERROR "quarnel_add_string_table(${target}): the target has its string table "
                        "already; name all of its .rc files in one call")
  endif()
  set_target_properties(${target} PROPERTIES QUARNEL_STRING_TABLE ON)

  if(WIN32)
    target_sources(${target} PRIVATE ${scripts})
    return()
  endif()

  if(QUARNEL_RCSTRINGS)
    set(tool "${QUARNEL_RCSTRINGS}")
  elseif(TARGET quarnel_rcstrings)
    set(tool quarnel_rcstrings)
  elseif(TARGET Quarnel::rcstrings)
    set(tool Quarnel::rcstrings)
  else()
    message(FATAL_ERROR "quarnel_add_string_table(${target}): quarnel-rcstrings is not available")
  endif()
  get_property(languages GLOBAL PROPERTY ENABLED_LANGUAGES)
  if("C" IN_LIST languages)
    set(language C)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_strings.c")
  elseif("CXX" IN_LIST languages)
    set(language CXX)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_strings.cpp")
  else()
    message(FATAL_ERROR "quarnel_add_string_table(${target}): enable C or CXX first")
  endif()

  set(includes "$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>")
  set(defines "$<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${tool} -o "${out}" -d "${out}.d"
            "$<$<BOOL:${includes}>:-I$<JOIN:${includes},;-I>>"
            "$<$<BOOL:${defines}>:-D$<JOIN:${defines},;-D>>" ${scripts}
    DEPENDS ${scripts} ${tool}
    DEPFILE "${out}.d"
    COMMENT "Compiling the string table of ${target}"
    COMMAND_EXPAND_LISTS VERBATIM)
  target_sources(${target} PRIVATE "${out}")

  if(type STREQUAL "EXECUTABLE")
    # Only the table needs to be visible to dlsym; exporting everything
    # (ENABLE_EXPORTS) is the fallback for linkers without the option.
    include(CheckLinkerFlag)
    check_linker_flag(${language} "LINKER:--export-dynamic-symbol=quarnel_string_table"
                      QUARNEL_LINKER_EXPORTS_ONE_SYMBOL)
    if(QUARNEL_LINKER_EXPORTS_ONE_SYMBOL)
      target_link_options(${target} PRIVATE "LINKER:--export-dynamic-symbol=quarnel_string_table")
    else()
      set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
    endif()
  endif()
endfunction()
