# Installing the games: real programs in lib/zarkons, a launcher per game in
# bin that starts it from its data folder, data, desktop entries, icons and
# man pages; and the Debian package made from the same install.
include(GNUInstallDirs)

set(ZK_LIBEXEC_SUBDIR lib/zarkons)
set(ZK_DATA_SUBDIR ${CMAKE_INSTALL_DATADIR}/zarkons)

install(TARGETS space-zarkons-3d tie-zarkons RUNTIME DESTINATION ${ZK_LIBEXEC_SUBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/space-zarkons-3d/data
        DESTINATION ${ZK_DATA_SUBDIR}/space-zarkons-3d)
# Tie Zarkons reads no file, but it starts from a folder of its own as well.
install(DIRECTORY DESTINATION ${ZK_DATA_SUBDIR}/tie-zarkons)

foreach(GAME space-zarkons-3d tie-zarkons)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/launcher.sh.in
                 ${PROJECT_BINARY_DIR}/launchers/${GAME} @ONLY)
  install(PROGRAMS ${PROJECT_BINARY_DIR}/launchers/${GAME} DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/${GAME}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_BINARY_DIR}/icons/${GAME}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/man/${GAME}.6
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/man/ac3d-info.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarkons)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zarkons developers <dev@zarkons.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Space Zarkons 3D and Tie Zarkons, two arcade shooters")
set(CPACK_PACKAGE_DESCRIPTION "Two OpenGL arcade shooters with Spanish texts: Space Zarkons 3D, a 3D fixed shooter against a sweeping formation of enemy ships, and Tie Zarkons, a flat shooter with walls of cubes. Includes ac3d-info, a checker for AC3D model files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# the run-time libraries are found from the programs themselves
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
set(CPACK_STRIP_FILES ON)
include(CPack)
