# `docs`: the API reference from the public header's comments, in
# build/docs/html. The build fails, naming the export, when an export of
# quarnel.h has no comment of its own or its comment leaves out any of its
# arguments, return value, ownership, failure or (where positions occur)
# index base; and, once Doxygen has run, when a section introduction or an
# export's failure paragraph did not reach the HTML.
find_package(Doxygen)
find_package(Python3 COMPONENTS Interpreter)
if(DOXYGEN_FOUND AND Python3_FOUND)
  set(QUARNEL_DOCS_DIR ${PROJECT_BINARY_DIR}/docs)
  set(_quarnel_header ${PROJECT_SOURCE_DIR}/include/quarnel/quarnel.h)
  configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${PROJECT_BINARY_DIR}/Doxyfile @ONLY)
  add_custom_target(docs
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/doc_header.py --check
            ${_quarnel_header}
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/check_exports.py --docs
            ${_quarnel_header} ${PROJECT_SOURCE_DIR}/src/exports/Quarnel.def
    COMMAND ${CMAKE_COMMAND} -E remove_directory ${QUARNEL_DOCS_DIR}/html
    COMMAND Doxygen::doxygen ${PROJECT_BINARY_DIR}/Doxyfile
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/doc_header.py --check-html
            ${_quarnel_header} ${QUARNEL_DOCS_DIR}/html
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "API reference in ${PROJECT_BINARY_DIR}/docs/html"
    VERBATIM)
else()
  add_custom_target(docs COMMAND ${CMAKE_COMMAND} -E echo "docs: needs doxygen and python3"
                    COMMAND ${CMAKE_COMMAND} -E false)
endif()
