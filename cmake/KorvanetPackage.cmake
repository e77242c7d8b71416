# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in a Release build folder makes
# korvanet_<version>-<release>_<arch>.deb from the install rules of
# KorvanetInstall.cmake, for `apt install ./korvanet_*.deb`.

set(KORVANET_PACKAGE_MAINTAINER "Korvanet maintainers <korvanet@example.org>"
  CACHE STRING "Maintainer field of the Debian package: name <address>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvanet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Korvanet")
set(CPACK_PACKAGE_CONTACT "${KORVANET_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rigorous conditional adjustment of a braced quadrilateral")
# CPack puts the summary above it and indents it as a control file wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Korvanet adjusts a braced quadrilateral of a triangulation and
trilateration network by rigorous conditional (correlate) least squares:
four points, eight observed angles, five or six observed sides, one or two
known points.  Every value is typed into a fixed chain of prompts and
confirmed before it is used; the window shows the misclosures, the adjusted
coordinates and their precision, and prints a report of fixed layout.

korvanet-batch runs saved jobs without the window.  The program's texts
are in Chinese.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KORVANET_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/korvanet/korvanet")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link are found by dpkg-shlibdeps.  What it cannot
# see is loaded at run time: the CJK faces of the window (Noto Sans CJK SC) and
# of the report (AR PL UMing CN), Qt's own Chinese translations for the
# standard buttons and dialogs, and Qt's SVG plugins for the icon and the
# drawing of the figure.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, fonts-arphic-uming, qt6-translations-l10n, libqt6svg6")

include(CPack)
