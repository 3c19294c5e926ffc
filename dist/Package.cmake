# `make package`: a Debian package of everything `cmake --install` puts in
# place, installed under /usr. Its dependencies on the Qt 6 libraries come
# from dpkg-shlibdeps; the platform plugins are named because the programs
# load them at run time rather than link them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tonvault)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tonvault developers")
set(CPACK_PACKAGE_CONTACT "The Tonvault developers <packages@tonvault.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Tonvault keeps a catalogue of MP3, MP2, WMA and WAV files, finds things and duplicates in it, edits ID3 tags and finds damaged MP3 files. tonvault-cli offers the same commands to scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tonvault.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TONVAULT_BUILD_UI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
