# Installs the built library into a scratch prefix, then builds and runs a C
# host against it twice: through the CMake package and through pkg-config.
set(prefix ${BUILD_DIR}/consumer-prefix)
set(work ${BUILD_DIR}/consumer-build)
file(REMOVE_RECURSE ${prefix} ${work} ${work}-cxx)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/consumer -B ${work} -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${work})
run(${work}/consumer)

# A C++ host that enables C++ only after finding the package.
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/consumer_cxx -B ${work}-cxx -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${work}-cxx)
run(${work}-cxx/cxx_consumer)

find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
  file(GLOB pcdir ${prefix}/lib*/pkgconfig ${prefix}/lib/*/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "${pcdir}")
  execute_process(COMMAND ${PKG_CONFIG} --cflags --libs quarnel OUTPUT_VARIABLE flags
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pkg-config does not know quarnel")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  run(cc -std=c99 -Wall -Wextra -Werror ${SOURCE_DIR}/tests/consumer/main.c ${flags}
      -o ${work}/consumer-pc)
  file(GLOB libdir ${prefix}/lib*/libquarnel.so ${prefix}/lib/*/libquarnel.so)
  get_filename_component(libdir "${libdir}" DIRECTORY)
  run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${libdir} ${work}/consumer-pc)
endif()
