# Installs BUILD_DIR into PREFIX and fails unless every file a desktop needs is there.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(expected
  bin/mevko
  bin/mevko-editor
  share/man/man1/mevko.1
  share/man/man1/mevko-editor.1
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/icons/hicolor/scalable/apps/${APP_ID}.svg
  share/doc/mevko/LICENSE
  share/doc/mevko/THIRD-PARTY.md
  share/doc/mevko/copyright)
foreach(f ${expected})
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "missing after install: ${f}")
  endif()
endforeach()
# The desktop entry names the installed program and icon.
file(STRINGS ${PREFIX}/share/applications/${APP_ID}.desktop entry)
foreach(line "Exec=mevko-editor %f" "Icon=${APP_ID}")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "desktop entry lacks '${line}'")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
