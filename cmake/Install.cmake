# Installing the games: the real programs in libexec/zarkons; in games, a
# launcher per game that starts it (Space Zarkons 3D from its data folder) and
# ac3d-info; data, desktop and software-centre entries, icons, compressed man
# pages, the package's copyright and changelog; and the Debian package made
# from the same install. Every folder is a GNUInstallDirs variable, so a
# packager moves any of them with one setting (-DCMAKE_INSTALL_DATADIR=share/games)
# and the launchers still find what they start.

# where Debian keeps its games' commands (on the path as /usr/games)
if(NOT DEFINED ZK_GAMES_BINDIR_SET)
  # a build folder configured before the games had a folder of their own
  # holds GNUInstallDirs' own "bin": that was never a choice
  get_property(zk_bindir_type CACHE CMAKE_INSTALL_BINDIR PROPERTY TYPE)
  if(zk_bindir_type STREQUAL "PATH" AND CMAKE_INSTALL_BINDIR STREQUAL "bin")
    set_property(CACHE CMAKE_INSTALL_BINDIR PROPERTY VALUE games)
  endif()
  set(ZK_GAMES_BINDIR_SET ON CACHE INTERNAL "CMAKE_INSTALL_BINDIR defaults to games")
endif()
set(CMAKE_INSTALL_BINDIR games CACHE PATH "User executables (games)")
include(GNUInstallDirs)
# the package is "zarkons", whatever the project's name looks like
if(CMAKE_INSTALL_DOCDIR STREQUAL "${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME}")
  set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/zarkons)
endif()

set(ZK_LIBEXEC_SUBDIR ${CMAKE_INSTALL_LIBEXECDIR}/zarkons)
set(ZK_DATA_SUBDIR ${CMAKE_INSTALL_DATADIR}/zarkons)
# folders the install creates are readable by all, whatever the umask
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# zk_launcher_path(VAR DIR): how a launcher names an install folder: from the
# prefix it finds itself in, or as it is when the packager gave it whole.
function(zk_launcher_path var dir)
  if(IS_ABSOLUTE "${dir}")
    set(${var} "${dir}" PARENT_SCOPE)
  else()
    set(${var} "$prefix/${dir}" PARENT_SCOPE)
  endif()
endfunction()
if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
  set(ZK_BIN_TO_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH ZK_BIN_TO_PREFIX /zk/${CMAKE_INSTALL_BINDIR} /zk)
  string(REGEX REPLACE "/$" "" ZK_BIN_TO_PREFIX "${ZK_BIN_TO_PREFIX}")
  set(ZK_BIN_TO_PREFIX "$here/${ZK_BIN_TO_PREFIX}")
endif()
zk_launcher_path(ZK_LIBEXEC_PATH ${ZK_LIBEXEC_SUBDIR})
zk_launcher_path(ZK_DATA_PATH ${ZK_DATA_SUBDIR})

# zk_gzip(SOURCE OUTPUT): a build step that compresses SOURCE into OUTPUT the
# way Debian wants it (best compression, no name or time stamp inside).
function(zk_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" zk-gzip ${source} ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${output}"
    VERBATIM)
endfunction()

set(ZK_GZIPPED "")
foreach(PAGE space-zarkons-3d.6 tie-zarkons.6 ac3d-info.1)
  zk_gzip(${PROJECT_SOURCE_DIR}/packaging/man/${PAGE} ${PROJECT_BINARY_DIR}/man/${PAGE}.gz)
  list(APPEND ZK_GZIPPED ${PROJECT_BINARY_DIR}/man/${PAGE}.gz)
endforeach()
# the games' pages in Spanish too, where man finds them for a Spanish locale
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/man/es)
foreach(PAGE space-zarkons-3d.6 tie-zarkons.6)
  zk_gzip(${PROJECT_SOURCE_DIR}/packaging/man/es/${PAGE} ${PROJECT_BINARY_DIR}/man/es/${PAGE}.gz)
  list(APPEND ZK_GZIPPED ${PROJECT_BINARY_DIR}/man/es/${PAGE}.gz)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
zk_gzip(${PROJECT_BINARY_DIR}/debian/changelog ${PROJECT_BINARY_DIR}/debian/changelog.gz)
list(APPEND ZK_GZIPPED ${PROJECT_BINARY_DIR}/debian/changelog.gz)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/man)
add_custom_target(zk_gzipped ALL DEPENDS ${ZK_GZIPPED})

install(TARGETS space-zarkons-3d tie-zarkons RUNTIME DESTINATION ${ZK_LIBEXEC_SUBDIR})
# the model checker comes with the games, and so sits with their commands
install(TARGETS ac3d-info RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's) also drops the compilers' notes, as
# Debian's own tools do.
if(CMAKE_OBJCOPY)
  foreach(zk_program ${ZK_LIBEXEC_SUBDIR}/space-zarkons-3d ${ZK_LIBEXEC_SUBDIR}/tie-zarkons
                     ${CMAKE_INSTALL_BINDIR}/ac3d-info)
    install(CODE "
      if(CMAKE_INSTALL_DO_STRIP)
        set(zk_f \"${zk_program}\")
        if(NOT IS_ABSOLUTE \"\${zk_f}\")
          set(zk_f \"\${CMAKE_INSTALL_PREFIX}/\${zk_f}\")
        endif()
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment \"\$ENV{DESTDIR}\${zk_f}\")
      endif()")
  endforeach()
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/space-zarkons-3d/data
        DESTINATION ${ZK_DATA_SUBDIR}/space-zarkons-3d)

foreach(GAME space-zarkons-3d tie-zarkons)
  if(GAME STREQUAL "space-zarkons-3d")
    # it reads data/... from where it starts
    set(ZK_CHDIR "cd \"${ZK_DATA_PATH}/${GAME}\" || {
    echo \"${GAME}: cannot find its data folder in ${ZK_DATA_PATH}/${GAME}\" >&2
    exit 1
}")
  else()
    # Tie Zarkons reads no file: it starts wherever it is started
    set(ZK_CHDIR "")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/packaging/launcher.sh.in
                 ${PROJECT_BINARY_DIR}/launchers/${GAME} @ONLY)
  install(PROGRAMS ${PROJECT_BINARY_DIR}/launchers/${GAME} DESTINATION ${CMAKE_INSTALL_BINDIR})
  # icons, desktop and software-centre entries go where the desktop looks
  # for them, even when the games' data go elsewhere
  install(FILES ${PROJECT_BINARY_DIR}/icons/${GAME}.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_BINARY_DIR}/man/${GAME}.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES ${PROJECT_BINARY_DIR}/man/es/${GAME}.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/es/man6)
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/man/ac3d-info.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# each desktop entry is named as its software-centre entry's id
install(FILES ${PROJECT_SOURCE_DIR}/packaging/invalid.zarkons.space_zarkons_3d.desktop
              ${PROJECT_SOURCE_DIR}/packaging/invalid.zarkons.tie_zarkons.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/packaging/metainfo/
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo FILES_MATCHING PATTERN "*.metainfo.xml")
# the catalogues, and the way to them from the installed programs
foreach(idioma ${ZK_IDIOMAS})
  install(FILES ${PROJECT_BINARY_DIR}/locale/${idioma}/LC_MESSAGES/zarkons.mo
          DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${idioma}/LC_MESSAGES)
endforeach()
if(IS_ABSOLUTE "${CMAKE_INSTALL_LOCALEDIR}" OR IS_ABSOLUTE "${ZK_LIBEXEC_SUBDIR}")
  set(zk_locale_desde "${CMAKE_INSTALL_FULL_LOCALEDIR}")
else()
  file(RELATIVE_PATH zk_locale_desde /zk/${ZK_LIBEXEC_SUBDIR} /zk/${CMAKE_INSTALL_LOCALEDIR})
endif()
target_compile_definitions(zk_idioma PRIVATE ZK_LOCALEDIR_DESDE_PROGRAMA="${zk_locale_desde}")
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarkons)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zarkons developers <dev@zarkons.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Space Zarkons 3D and Tie Zarkons, two arcade shooters")
# the long description, wrapped for the package tools; the summary comes first
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Two OpenGL arcade shooters with Spanish and English texts.
.
Space Zarkons 3D is a 3D fixed shooter: after a camera fly-in your fighter
faces a formation of fourteen enemy ships that sweep sideways, creep toward
you and fire at random. Destroyed ships burst into particle explosions against
a turning star field.
.
Tie Zarkons is a flat shooter built from simple shapes: your X-Wing shoots
up at fifteen marching Ties from behind walls of small cubes.
.
Also includes ac3d-info, a checker for AC3D model files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# the run-time libraries are found from the programs themselves
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
