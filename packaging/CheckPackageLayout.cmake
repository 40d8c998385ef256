# Installs the build into STAGE (prefix /usr) and fails unless the package's files are
# in their Debian places.
file(REMOVE_RECURSE "${STAGE}")
execute_process(
  COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${STAGE}/usr"
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f
    bin/bansho
    share/man/man1/bansho.1.gz
    share/man/ja/man1/bansho.1.gz
    share/doc/bansho/copyright
    share/doc/bansho/changelog.Debian.gz
    share/doc/bansho/bansho-guide.html
    share/doc-base/bansho-guide
    share/applications/org.example.Bansho.desktop
    share/metainfo/org.example.Bansho.metainfo.xml
    share/icons/hicolor/48x48/apps/org.example.Bansho.png)
  if(NOT EXISTS "${STAGE}/usr/${f}")
    message(FATAL_ERROR "not installed: /usr/${f}")
  endif()
endforeach()
# The changelog's first entry carries the package's version.
execute_process(COMMAND gzip -dc "${STAGE}/usr/share/doc/bansho/changelog.Debian.gz"
                OUTPUT_VARIABLE changelog)
if(NOT changelog MATCHES "^bansho \\([0-9.]+-[0-9]+\\) ")
  message(FATAL_ERROR "the changelog does not start with the package version:\n${changelog}")
endif()
file(REMOVE_RECURSE "${STAGE}")
