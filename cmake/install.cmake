# Install rules: what `cmake --install` puts under the prefix, by component.
#
#   module    libkorvogui.so and libyprofile.so (it needs it), the module's headers and the
#             declarations of the host services it calls; the CMake package; korvogui.pc
#   refhost   libkorvohost.so, the reference host, and its control API; korvogui-refhost.pc
#   netkorvo  libnetkorvo.so, the network stand-in, and its control API; korvogui-netkorvo.pc
#   tools     korvoui and korvo-lobbyd, and the shipped assets korvoui draws by default
#
# Headers go under include/korvogui/ in the source tree's layout (korvogui/, host/,
# refhost/, netkorvo/), so the include lines read the same inside and outside the tree.
# Everything installed finds its libraries relative to itself ($ORIGIN).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KORVO_INSTALL_HEADERS ${CMAKE_INSTALL_INCLUDEDIR}/korvogui)
set(KORVO_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/korvogui)
set(KORVO_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# ---- Libraries ------------------------------------------------------------------------
set_target_properties(korvohost PROPERTIES EXPORT_NAME refhost)
foreach(lib korvogui yprofile korvohost netkorvo)
  set_target_properties(${lib} PROPERTIES INSTALL_RPATH "$ORIGIN")
  target_include_directories(${lib} INTERFACE $<INSTALL_INTERFACE:${KORVO_INSTALL_HEADERS}>)
  target_compile_features(${lib} INTERFACE cxx_std_20)
endforeach()

install(TARGETS korvogui yprofile EXPORT korvogui-module
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT module NAMELINK_COMPONENT module)
install(TARGETS korvohost EXPORT korvogui-refhost
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT refhost NAMELINK_COMPONENT refhost)
install(TARGETS netkorvo EXPORT korvogui-netkorvo
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT netkorvo NAMELINK_COMPONENT netkorvo)

# ---- Headers --------------------------------------------------------------------------
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/korvogui DESTINATION ${KORVO_INSTALL_HEADERS}
        COMPONENT module FILES_MATCHING PATTERN "*.h")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/host DESTINATION ${KORVO_INSTALL_HEADERS}
        COMPONENT module FILES_MATCHING PATTERN "*.h")
install(FILES ${CMAKE_SOURCE_DIR}/refhost/korvohost.h ${CMAKE_SOURCE_DIR}/refhost/korvohost_graphics.h
        DESTINATION ${KORVO_INSTALL_HEADERS}/refhost COMPONENT refhost)
install(FILES ${CMAKE_SOURCE_DIR}/netkorvo/netkorvo.h
        DESTINATION ${KORVO_INSTALL_HEADERS}/netkorvo COMPONENT netkorvo)

# ---- Tools ----------------------------------------------------------------------------
set_target_properties(korvoui korvo-lobbyd PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
install(TARGETS korvoui korvo-lobbyd EXPORT korvogui-tools
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
file(RELATIVE_PATH KORVO_BIN_TO_ASSETS "/${CMAKE_INSTALL_BINDIR}" "/${CMAKE_INSTALL_DATADIR}/korvogui/assets")
target_compile_definitions(korvoui PRIVATE KORVO_INSTALLED_ASSETS="${KORVO_BIN_TO_ASSETS}")
install(DIRECTORY ${KORVO_ASSET_ROOT}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/korvogui/assets
        COMPONENT tools)

# ---- CMake package --------------------------------------------------------------------
foreach(component module refhost netkorvo tools)
  install(EXPORT korvogui-${component} NAMESPACE korvogui::
          FILE korvogui-${component}-targets.cmake
          DESTINATION ${KORVO_INSTALL_CMAKEDIR} COMPONENT ${component})
endforeach()
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/korvogui-config.cmake.in
  ${CMAKE_BINARY_DIR}/packaging/korvogui-config.cmake
  INSTALL_DESTINATION ${KORVO_INSTALL_CMAKEDIR} NO_SET_AND_CHECK_MACRO)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/packaging/korvogui-config-version.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/packaging/korvogui-config.cmake
              ${CMAKE_BINARY_DIR}/packaging/korvogui-config-version.cmake
        DESTINATION ${KORVO_INSTALL_CMAKEDIR} COMPONENT module)

# ---- pkg-config -----------------------------------------------------------------------
# The prefix is found from the .pc file's own place, so the prefix can move.
file(RELATIVE_PATH KORVO_PC_TO_PREFIX "/${KORVO_INSTALL_PKGCONFIGDIR}" "/")
foreach(pc korvogui korvogui-refhost korvogui-netkorvo)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/${pc}.pc.in ${CMAKE_BINARY_DIR}/packaging/${pc}.pc @ONLY)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/packaging/korvogui.pc
        DESTINATION ${KORVO_INSTALL_PKGCONFIGDIR} COMPONENT module)
install(FILES ${CMAKE_BINARY_DIR}/packaging/korvogui-refhost.pc
        DESTINATION ${KORVO_INSTALL_PKGCONFIGDIR} COMPONENT refhost)
install(FILES ${CMAKE_BINARY_DIR}/packaging/korvogui-netkorvo.pc
        DESTINATION ${KORVO_INSTALL_PKGCONFIGDIR} COMPONENT netkorvo)
