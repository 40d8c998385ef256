# Installation beyond the program and its desktop files: the manual pages, the user
# guide and the Debian documents, and the Debian package made from all of it with
#   cmake --build build --target package   ->   bansho_<version>-<release>_<arch>.deb
include(GNUInstallDirs)

set(BANSHO_PACKAGE_RELEASE 1 CACHE STRING "Debian revision of the package (the n in bansho_3.22-n)")
set(BANSHO_PACKAGE_MAINTAINER "Bansho developers <bansho@example.org>"
    CACHE STRING "Maintainer field of the Debian package: Name <address>")

# Debian's hardening: the program's relocations are resolved at start and then made
# read-only.
if(TARGET bansho)
  target_link_options(bansho PRIVATE LINKER:-z,relro LINKER:-z,now)
endif()

add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../man ${CMAKE_BINARY_DIR}/man)
add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../docs ${CMAKE_BINARY_DIR}/docs)
add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../packaging ${CMAKE_BINARY_DIR}/packaging)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME bansho)
set(CPACK_PACKAGE_VENDOR "バンショ開発チーム")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${BANSHO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "business desk calculator with one very large number display")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
# The program goes in stripped; lintian refuses debugging symbols in /usr/bin.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${BANSHO_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BANSHO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Japanese faces the program asks for are found in IPA Gothic; Qt's own dialog
# texts come from its translations; links open through xdg-open.
# The sound library and libjpeg (the about box's picture) are opened when first needed, not
# linked, so shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "libcanberra0, sound-theme-freedesktop, libjpeg62-turbo, fonts-ipafont-gothic, qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(BANSHO_HOMEPAGE_URL)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${BANSHO_HOMEPAGE_URL}")
endif()
# The synopsis line is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Bansho shows one right-aligned number in a wide, low window, drawn in a font
that grows with the window width, so that the number can be read from a
distance or shown across a shop counter.
.
It calculates like a printing desk calculator: constant calculation, percent,
grand total, an independent memory, tax-included and tax-excluded amounts, and
a receipt in a docked window whose entries can be corrected and recalculated.
Keys and function keys can be reassigned, and a block of letter keys can act as
a numeric keypad on laptops. The program's texts are in Japanese.")

include(CPack)
