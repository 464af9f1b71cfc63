# `docs`: the API reference from the public header's comments, in
# build/docs/html. The build fails, naming the export, when an export of
# quarnel.h has no comment.
find_package(Doxygen)
find_package(Python3 COMPONENTS Interpreter)
if(DOXYGEN_FOUND AND Python3_FOUND)
  set(QUARNEL_DOCS_DIR ${PROJECT_BINARY_DIR}/docs)
  configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${PROJECT_BINARY_DIR}/Doxyfile @ONLY)
  add_custom_target(docs
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/doc_header.py --check
            ${PROJECT_SOURCE_DIR}/include/quarnel/quarnel.h
    COMMAND Doxygen::doxygen ${PROJECT_BINARY_DIR}/Doxyfile
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "API reference in ${PROJECT_BINARY_DIR}/docs/html"
    VERBATIM)
else()
  add_custom_target(docs COMMAND ${CMAKE_COMMAND} -E echo "docs: needs doxygen and python3"
                    COMMAND ${CMAKE_COMMAND} -E false)
endif()
