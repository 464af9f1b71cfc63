# Debian packages, one per install component:
#   libquarnel0     the shared library
#   libquarnel-dev  headers, link name, CMake and pkg-config files, quarnel-rcstrings
#   quarnel-tools   the quarnel program and its man page
# Configure with -DCMAKE_INSTALL_PREFIX=/usr, build, then run `cpack -G DEB`
# in the build directory.
set(CPACK_PACKAGE_NAME quarnel)
set(CPACK_PACKAGE_VENDOR "The Quarnel developers")
set(CPACK_PACKAGE_CONTACT "The Quarnel developers <quarnel@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "String handles for host programs in any language")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_COMPONENTS_ALL runtime dev tools)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The programs' own library is in the build tree, not yet on the system.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/src)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libquarnel${PROJECT_VERSION_MAJOR})
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "String handles for host programs in any language\n The Quarnel shared library: byte and UTF-16 string handles, editing,\n number conversion, formatting and field splitting behind plain C functions.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libquarnel-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_DEV_DESCRIPTION
    "Quarnel development files\n Headers for C and C++, the CMake package, the pkg-config file and\n quarnel-rcstrings, which compiles .rc string tables.")
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME quarnel-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION text)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DESCRIPTION
    "Cuts text files into fields with Quarnel\n quarnel reads CSV, separated, fixed-width and name=value files and\n writes their fields as text, TSV, JSON lines or CSV.")

# Every package carries the licence as its copyright file.
foreach(component runtime dev tools)
  string(TOUPPER ${component} upper)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}
          RENAME copyright COMPONENT ${component})
endforeach()

include(CPack)
