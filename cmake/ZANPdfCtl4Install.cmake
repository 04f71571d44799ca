# Installation of the library as a CMake package that hosts find with
# find_package(ZANPdfCtl4): the shared library, its public headers in include/ZANPdfCtl4, the
# exported target ZANPdfCtl4::ZANPdfCtl4 and a version file (same major version compatible).
# Install components: Runtime (the library) and Development (the rest); a host's build needs
# both, e.g. `cmake --install build --prefix P --component Runtime` and `... Development`.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZAN_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZANPdfCtl4)

install(TARGETS ZANPdfCtl4 EXPORT ZANPdfCtl4Targets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)

# Only the public headers: included as <ZANPdfCtl4/zanpdf3.h> or <ZANPdfCtl4/ZANPdf3>.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/ZANPDFCtl/include/ZANPdfCtl4
  ${PROJECT_BINARY_DIR}/ZANPDFCtl/include/ZANPdfCtl4
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  COMPONENT Development
  PATTERN "*.in" EXCLUDE)

install(EXPORT ZANPdfCtl4Targets
  NAMESPACE ZANPdfCtl4::
  DESTINATION ${ZAN_INSTALL_CMAKEDIR}
  COMPONENT Development)

configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/ZANPdfCtl4Config.cmake.in
  ${PROJECT_BINARY_DIR}/ZANPdfCtl4Config.cmake
  INSTALL_DESTINATION ${ZAN_INSTALL_CMAKEDIR})
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/ZANPdfCtl4ConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/ZANPdfCtl4Config.cmake
  ${PROJECT_BINARY_DIR}/ZANPdfCtl4ConfigVersion.cmake
  DESTINATION ${ZAN_INSTALL_CMAKEDIR}
  COMPONENT Development)
