# The installed game and its Debian package.
#   cmake --install BUILD --prefix P    games/driftwing (bin/driftwing links to it), share/games/driftwing/...
#   cpack (in BUILD)                    driftwing_1.0_<arch>.deb on SDL 2,
#                                       driftwing-sdl1.2_1.0_<arch>.deb on SDL 1.2
# The game finds its data from its own path (games/../share/games/driftwing),
# so any prefix works as well as /usr.

set(DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
set(PKG_OUT ${CMAKE_BINARY_DIR}/dist)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The data pack and the icons, made by the generator at build time.
add_custom_command(OUTPUT ${PKG_OUT}/data.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PKG_OUT}/root ${PKG_OUT}/icons
  COMMAND assetgen ${PKG_OUT}/root
  COMMAND assetgen --icons ${PKG_OUT}/icons
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PKG_OUT}/bin
  COMMAND ${CMAKE_COMMAND} -E create_symlink ../games/driftwing ${PKG_OUT}/bin/driftwing
  COMMAND ${CMAKE_COMMAND} -E touch ${PKG_OUT}/data.stamp
  DEPENDS assetgen
  COMMENT "Generating the data pack and icons for installing")
# Debian wants the man page and the changelog compressed, without timestamps.
add_custom_command(OUTPUT ${PKG_OUT}/driftwing.6.gz ${PKG_OUT}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PKG_OUT}
  COMMAND ${CMAKE_COMMAND} -E copy ${DIST_DIR}/driftwing.6 ${DIST_DIR}/changelog ${PKG_OUT}
  COMMAND gzip -9nf ${PKG_OUT}/driftwing.6 ${PKG_OUT}/changelog
  DEPENDS ${DIST_DIR}/driftwing.6 ${DIST_DIR}/changelog)
add_custom_target(installdata ALL
  DEPENDS ${PKG_OUT}/data.stamp ${PKG_OUT}/driftwing.6.gz ${PKG_OUT}/changelog.gz)

# The game lives in games/ as Debian wants; /usr/games is missing from the
# PATH of root and of some session launchers, so bin/ holds a link to it.
install(TARGETS driftwing RUNTIME DESTINATION games)
# A stripped install (make install, the package) also drops the compiler's
# notes and comment, which nothing at run time reads, as Debian's own
# packages do.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note
                          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/games/driftwing\")
endif()")
install(FILES ${PKG_OUT}/bin/driftwing DESTINATION bin)
install(DIRECTORY ${PKG_OUT}/root/data ${PKG_OUT}/root/Data
  DESTINATION share/games/driftwing
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
foreach(size 48 128 256)
  install(FILES ${PKG_OUT}/icons/driftwing-${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME driftwing.png)
endforeach()
install(FILES ${DIST_DIR}/driftwing.desktop DESTINATION share/applications)
install(FILES ${DIST_DIR}/driftwing.metainfo.xml DESTINATION share/metainfo)
install(FILES ${PKG_OUT}/driftwing.6.gz DESTINATION share/man/man6)
install(FILES ${DIST_DIR}/copyright ${PKG_OUT}/changelog.gz DESTINATION share/doc/driftwing)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME driftwing)
set(CPACK_PACKAGE_VERSION 1.0)
set(CPACK_PACKAGE_CONTACT "Driftwing maintainers <maintainers@users.noreply.c-seed-72c3b529.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-scrolling shoot-'em-up for one player")
set(CPACK_PACKAGE_DESCRIPTION "Driftwing is a small side-scrolling shoot-'em-up. Your ship flies inside a
play band over a scrolling sky and a rocky foreground while enemy ships come
in from the right. Shoot them down, don't touch them, and don't fly into the
ground. Plays with the keyboard or a gamepad, in a scaled window or full
screen, with music and sound effects; each player keeps a best score.
.
This build runs on ${SDL_NAME}.")
# The two builds make one package, driftwing, that replaces the other; their
# files are told apart by name. SDL 2 is the one to ship, and has the plain
# name.
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE DEB_ARCH
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(PLATFORM_IMPL STREQUAL "sdl2")
  set(CPACK_DEBIAN_FILE_NAME driftwing_1.0_${DEB_ARCH}.deb)
else()
  set(CPACK_DEBIAN_FILE_NAME driftwing-sdl1.2_1.0_${DEB_ARCH}.deb)
endif()
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
# The same sources make the same package, byte for byte: every time stamp in
# it is the one of the latest changelog entry, as Debian's own builds do,
# unless SOURCE_DATE_EPOCH is given. cpack reads this file when it runs.
execute_process(COMMAND dpkg-parsechangelog -l ${DIST_DIR}/changelog -STimestamp
                OUTPUT_VARIABLE CHANGELOG_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE)
file(WRITE ${CMAKE_BINARY_DIR}/CPackDates.cmake
  "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})\n  set(ENV{SOURCE_DATE_EPOCH} \"${CHANGELOG_EPOCH}\")\nendif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackDates.cmake)
include(CPack)
