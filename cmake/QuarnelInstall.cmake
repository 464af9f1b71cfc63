# Installs the library, its headers, a CMake package (find_package(Quarnel)
# giving Quarnel::quarnel) and a pkg-config file.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

#
# Components, one Debian package each (see cmake/QuarnelPackaging.cmake):
# runtime (the shared library), dev (headers, the link name, CMake and
# pkg-config files, quarnel-rcstrings), tools (the quarnel program).
install(TARGETS quarnel EXPORT QuarnelTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
install(DIRECTORY include/quarnel DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev)
if(TARGET quarnel_rcstrings)
  install(TARGETS quarnel_rcstrings EXPORT QuarnelTargets
          RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT dev)
  install(FILES docs/quarnel-rcstrings.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT dev)
endif()

set(QUARNEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quarnel)
install(EXPORT QuarnelTargets NAMESPACE Quarnel:: DESTINATION ${QUARNEL_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(cmake/QuarnelConfig.cmake.in
                              ${CMAKE_CURRENT_BINARY_DIR}/QuarnelConfig.cmake
                              INSTALL_DESTINATION ${QUARNEL_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QuarnelConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QuarnelConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/QuarnelConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/QuarnelStringTable.cmake
        DESTINATION ${QUARNEL_CMAKE_DIR} COMPONENT dev)

# The .pc file finds its prefix from its own place, so the tree can move.
file(RELATIVE_PATH QUARNEL_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig
     ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" QUARNEL_PC_TO_PREFIX "${QUARNEL_PC_TO_PREFIX}")
configure_file(cmake/quarnel.pc.in ${CMAKE_CURRENT_BINARY_DIR}/quarnel.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quarnel.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
