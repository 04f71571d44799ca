# Installation of the library as a CMake package that hosts find with
# find_package(ZANPdfCtl4) or pkg-config: the shared library, its public headers in
# include/ZANPdfCtl4, the exported target ZANPdfCtl4::ZANPdfCtl4, a version file and
# ZANPdfCtl4.pc.
#
# Versions: "ZANPdfCtl4" is the library's name (the fourth generation of the panel controls);
# its version is the file version, 5.0.3. The ABI is that of the major version: the SONAME is
# libZANPdfCtl4.so.5, and every 5.x package is compatible with a host built against any earlier
# 5.y (find_package(ZANPdfCtl4 5) accepts 5.0 up to 5.x, never 4 or 6).
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
configure_file(${CMAKE_CURRENT_LIST_DIR}/ZANPdfCtl4.pc.in ${PROJECT_BINARY_DIR}/ZANPdfCtl4.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/ZANPdfCtl4.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT Development)
install(FILES
  ${PROJECT_BINARY_DIR}/ZANPdfCtl4Config.cmake
  ${PROJECT_BINARY_DIR}/ZANPdfCtl4ConfigVersion.cmake
  DESTINATION ${ZAN_INSTALL_CMAKEDIR}
  COMPONENT Development)
