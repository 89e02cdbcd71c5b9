# Installing the program (`cmake --install`) and its Debian package (`cpack`, `make
# package`). The version is the project's; the date is this version's release.
include(GNUInstallDirs)
set(TEXTBOOK_RELEASE_DATE 2026-12-10)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS textbook textbook-db make-workspace skinpack skin-lab RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The demo workspace the program copies for each user (tools/make-workspace) and
# the icon theme tree (tools/app-art): both made by the build.
install(DIRECTORY ${PROJECT_BINARY_DIR}/share/textbook/workspace DESTINATION ${CMAKE_INSTALL_DATADIR}/textbook)
install(DIRECTORY ${PROJECT_BINARY_DIR}/share/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

configure_file(${packaging}/textbook.desktop.in ${generated}/${TEXTBOOK_APP_ID}.desktop @ONLY)
configure_file(${packaging}/textbook.metainfo.xml.in ${generated}/${TEXTBOOK_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/textbook.1.in ${generated}/textbook.1 @ONLY)
add_custom_command(
  OUTPUT ${generated}/textbook.1.gz
  COMMAND gzip -9nc ${generated}/textbook.1 > ${generated}/textbook.1.gz
  DEPENDS ${generated}/textbook.1
  VERBATIM)
add_custom_target(manual-page ALL DEPENDS ${generated}/textbook.1.gz)
install(FILES ${generated}/${TEXTBOOK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${TEXTBOOK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generated}/textbook.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME textbook)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Textbook developers <textbook@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "electronic textbook for a classroom")
set(CPACK_PACKAGE_DESCRIPTION
    "Lectures, labs, video lessons and a 30-question test for a school computer lab, in Russian. The menu entry gives each user a workspace of their own with demo materials on the first start.")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Libraries come from the binaries (dpkg-shlibdeps); the fonts the windows ask
# for by name are found through fontconfig at run time, so no binary names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The video player opens its libraries when the first video plays, so no binary
# has to name them: they are the packages of the major versions built against.
set(video_packages "")
foreach(library avformat avcodec swscale swresample avutil)
  string(REGEX MATCH "^[0-9]+" major "${FFMPEG_lib${library}_VERSION}")
  if(major STREQUAL "")
    message(FATAL_ERROR "Install.cmake: no version of lib${library} from pkg-config")
  endif()
  if(library STREQUAL "avcodec")
    list(APPEND video_packages "libavcodec${major} | libavcodec-extra${major}")
  else()
    list(APPEND video_packages "lib${library}${major}")
  endif()
endforeach()
list(JOIN video_packages ", " video_depends)
# The server's client library, opened on the first server connection as
# libpq.so.5 (data/PqLibrary.cpp), and SDL2, opened when the SDL display starts as
# libSDL2-2.0.so.0 (platform/backend/SdlLibrary.cpp), likewise.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "fonts-liberation2, fonts-urw-base35, fonts-dejavu-core, ${video_depends}, libpq5, libsdl2-2.0-0 (>= ${SDL2_VERSION})")
include(CPack)
