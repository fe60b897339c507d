# `make package`: a Debian package of what `cmake --install` installs (the verlo program, its
# desktop entry, metainfo, icon and manual page), built by CPack into build/.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME verlo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "find what installed software leaves on disk and move it to the Trash")
set(CPACK_PACKAGE_DESCRIPTION
"Verlo lists installed applications, global npm packages and Homebrew
packages, finds every file that belongs to the one you choose (preferences,
caches, support data, containers, launch agents, package-manager folders) and
moves what you tick to the Trash, after the package manager's own uninstall
for packages. It also measures the big consumers of disk space.")
set(CPACK_PACKAGE_CONTACT "The Verlo developers <verlo@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/verlo/verlo)
# dpkg-shlibdeps finds the Qt libraries the program links. The QML modules its window loads are
# plugins no linker sees, so they are named here: those it loads from disk (QtQml and
# QtQml.Models are built into libQt6Qml, but their qmldir files, which the build machine has for
# qmllint, are read from disk where installed). tests/install/check_package.sh opens the packaged
# window and checks this list against what it loaded.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(VERLO_QML_RUNTIME_PACKAGES
    qml6-module-qtqml
    qml6-module-qtqml-models
    qml6-module-qtqml-workerscript
    qml6-module-qtquick
    qml6-module-qtquick-controls
    qml6-module-qtquick-layouts
    qml6-module-qtquick-templates)
list(JOIN VERLO_QML_RUNTIME_PACKAGES ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# Reads the .icns icons of application bundles.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-image-formats-plugins)

include(CPack)
