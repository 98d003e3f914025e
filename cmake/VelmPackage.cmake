# The Debian package: `cpack -G DEB` in the build folder, after a build. Its dependencies are
# read from the binaries by dpkg-shlibdeps; the fonts the windows are drawn with come on top.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "The Velmora developers")
set(CPACK_PACKAGE_CONTACT "The Velmora developers <maintainers@velmora.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Reversi with a Japanese user interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora is a game of Reversi for the desktop with a Japanese user interface.
Each side is played at the mouse, by a computer engine, or by a player at
another machine: one machine hosts a room over TCP, the others join it, chat
and play.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian keeps the commands of games in /usr/games (resources/desktop/CMakeLists.txt).
set(CPACK_CUSTOM_INSTALL_VARIABLES "VELM_COMMAND_DIR=games")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velmora.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
# Help pages open in the desktop's viewer; the LAN browser lists machines that Avahi announces.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, avahi-daemon")
include(CPack)
