# Installs the programs where a desktop expects them: the programs and their manual
# pages, the desktop entry, the application icon, the AppStream metainfo and the
# licence texts.
include(GNUInstallDirs)

set(MEVKO_APP_ID org.mevko.MevkoEditor)
set(MEVKO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/mevko)
set(desktop_dir ${CMAKE_SOURCE_DIR}/resources/desktop)

install(TARGETS mevko RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The manual pages carry the project's version.
foreach(page mevko.1 mevko-editor.1)
  configure_file(${CMAKE_SOURCE_DIR}/man/${page} ${CMAKE_BINARY_DIR}/man/${page} @ONLY)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/man/mevko.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET mevko-editor)
  install(TARGETS mevko-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_BINARY_DIR}/man/mevko-editor.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${desktop_dir}/${MEVKO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${desktop_dir}/${MEVKO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/mevko-editor.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${MEVKO_APP_ID}.svg)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/THIRD-PARTY.md DESTINATION ${MEVKO_DOC_DIR})
# Debian looks for the licence of a package in share/doc/<package>/copyright.
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${MEVKO_DOC_DIR} RENAME copyright)

# The desktop files pass the desktop's own validators, and an install puts every file in place.
if(TARGET mevko-editor)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE} ${desktop_dir}/${MEVKO_APP_ID}.desktop)
  endif()
  find_program(APPSTREAMCLI appstreamcli)
  if(APPSTREAMCLI)
    add_test(NAME desktop_metainfo
             COMMAND ${APPSTREAMCLI} validate --no-net ${desktop_dir}/${MEVKO_APP_ID}.metainfo.xml)
  endif()
  add_test(NAME install_layout
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DPREFIX=${CMAKE_BINARY_DIR}/install-check
                   -DAPP_ID=${MEVKO_APP_ID} -P ${CMAKE_SOURCE_DIR}/cmake/CheckInstall.cmake)
endif()
