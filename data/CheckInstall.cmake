# Runs the "desktop" install component into STAGE and fails unless every file a
# desktop needs to show and launch バンショ is where the freedesktop layout wants it.
file(REMOVE_RECURSE "${STAGE}")
execute_process(
  COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${STAGE}" --component desktop
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f
    applications/${APP_ID}.desktop
    metainfo/${APP_ID}.metainfo.xml
    icons/hicolor/48x48/apps/${APP_ID}.png
    icons/hicolor/256x256/apps/${APP_ID}.png
    icons/hicolor/scalable/apps/${APP_ID}.svg)
  if(NOT EXISTS "${STAGE}/${DATADIR}/${f}")
    message(FATAL_ERROR "not installed: ${DATADIR}/${f}")
  endif()
endforeach()
# The launcher must name the installed icon and the metainfo the launcher.
file(READ "${STAGE}/${DATADIR}/applications/${APP_ID}.desktop" desktop)
if(NOT desktop MATCHES "\nIcon=${APP_ID}\n")
  message(FATAL_ERROR "the .desktop file does not name the icon ${APP_ID}")
endif()
file(READ "${STAGE}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml" meta)
if(NOT meta MATCHES "<id>${APP_ID}</id>" OR NOT meta MATCHES "desktop-id\">${APP_ID}.desktop<")
  message(FATAL_ERROR "the metainfo does not carry the id ${APP_ID}")
endif()
# The program is passed on under the MIT licence, and no address is made up.
if(NOT meta MATCHES "<project_license>MIT</project_license>")
  message(FATAL_ERROR "the metainfo does not name the MIT licence")
endif()
if(meta MATCHES "example\\.(org|com|net)")
  message(FATAL_ERROR "the metainfo carries a placeholder address")
endif()
file(REMOVE_RECURSE "${STAGE}")
