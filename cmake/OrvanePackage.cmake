# The Debian package: `make package` (cpack -G DEB) in the build folder.
# Library dependencies come from dpkg-shlibdeps; the rest are what the
# program loads at run time: libmpv through dlopen, and the GStreamer
# plugin sets the first engine and the CD player build their pipelines from.
set(ORVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orvane)
set(ORVANE_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${ORVANE_CHANGELOG}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${ORVANE_CHANGELOG}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(orvane_package_docs ALL DEPENDS ${ORVANE_CHANGELOG})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${ORVANE_DOC_DIR})
install(FILES ${ORVANE_CHANGELOG} DESTINATION ${ORVANE_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Orvane developers")
set(CPACK_PACKAGE_CONTACT "The Orvane developers <maintainers@orvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "playlist-centred media player")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvane plays audio, video, audio CDs and Video CD tracks from one window\n\
and one playlist. Every item keeps its own title, author, copyright,\n\
description, play or skip mark and repeat count; playlists are saved in\n\
Orvane's own file and edited in a dialog. Media plays through two\n\
independent engines, GStreamer and libmpv.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://orvane.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libmpv2, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-ugly, gstreamer1.0-pulseaudio | gstreamer1.0-alsa, gstreamer1.0-x")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-bad, gstreamer1.0-libav, libasound2-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
