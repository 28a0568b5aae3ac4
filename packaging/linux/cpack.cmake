# The Debian package: `cpack -G DEB` in the build folder gives ondrix_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ondrix)
set(CPACK_PACKAGE_VENDOR "The Ondrix developers")
set(CPACK_PACKAGE_CONTACT "Ondrix maintainers <maintainers@ondrix.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://ondrix.org/)
# Libraries come from dpkg-shlibdeps. Qt loads its window-system plugins and the SVG icon
# plugin at run time, so those packages are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "desktop function plotter
Ondrix draws up to three functions of x, typed as VBScript expressions
such as Sin(x)*5 or x^2/10, over a grid with red axes and number labels.
It can add the sum or the product of the curves as a fourth curve, zooms
in x and in y separately, pans with scroll bars and shows the pointer's
coordinates in the status bar.")
configure_file(${CMAKE_CURRENT_LIST_DIR}/cpack-project-config.cmake.in
               ${CMAKE_BINARY_DIR}/cpack-project-config.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/cpack-project-config.cmake)
include(CPack)
