# Installation under the prefix (program, desktop entry, icons, MIME type of
# the document files) and the Debian package built from it by CPack.
include(GNUInstallDirs)

set(VINKRING_APP_ID nl.vinkring.Artikel)
set(_packaging_dir ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS vinkring-artikel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_packaging_dir}/${VINKRING_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_packaging_dir}/${VINKRING_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${_packaging_dir}/icons/${VINKRING_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(_size 16 22 24 32 48 64 128 256)
  install(FILES ${_packaging_dir}/icons/png/${_size}x${_size}/${VINKRING_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
endforeach()
install(FILES ${_packaging_dir}/${VINKRING_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_packaging_dir}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vinkring-artikel)

# The manual page and the changelog, compressed as Debian wants them: gzip -9,
# without a name or time stamp in the header (-n), so builds are alike.
find_program(VINKRING_GZIP gzip REQUIRED)
configure_file(${_packaging_dir}/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog @ONLY)
set(_compressed)
foreach(_pair "${_packaging_dir}/vinkring-artikel.1;vinkring-artikel.1.gz"
              "${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog;changelog.gz")
  list(GET _pair 0 _source)
  list(GET _pair 1 _target)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/packaging/${_target}
                     COMMAND ${VINKRING_GZIP} -9nc ${_source} > ${CMAKE_CURRENT_BINARY_DIR}/packaging/${_target}
                     DEPENDS ${_source} VERBATIM)
  list(APPEND _compressed ${CMAKE_CURRENT_BINARY_DIR}/packaging/${_target})
endforeach()
add_custom_target(vinkring_compressed_docs ALL DEPENDS ${_compressed})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/vinkring-artikel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vinkring-artikel)

# Stripped as dh_strip strips: also the compiler's notes, of no use at run time.
find_program(VINKRING_OBJCOPY NAMES objcopy ${CMAKE_OBJCOPY})
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${VINKRING_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vinkring-artikel\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()")

# Debian package: `cmake --build <build> --target package` or `cpack -G DEB`.
# The desktop, MIME and icon caches are refreshed by the triggers of
# desktop-file-utils, shared-mime-info and the icon theme: no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vinkring-artikel)
set(CPACK_PACKAGE_VENDOR "Vinkring")
set(CPACK_PACKAGE_CONTACT "Vinkring developer <dev@vinkring.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wizard for articles in the Vinkring fish forum template")
set(CPACK_PACKAGE_DESCRIPTION "Vinkring Artikel Template leads a member of the Vinkring fish-keeping forum
page by page through the forum's article template. The finished article goes
to the clipboard as forum text or to the web browser as a preview, and the
work in progress is kept in .VKV document files. The program's texts are in
Dutch.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# What the program needs at run time: the libraries it links, found with
# their versions by dpkg-shlibdeps where it is there. Debian's libqt6gui6
# holds the X11 platform plugin too.
find_program(VINKRING_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VINKRING_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libenchant-2-2, libglib2.0-0, libc6, libstdc++6, libgcc-s1")
endif()
# The Dutch dictionary for the spelling check; Dutch texts in Qt's own dialogs;
# Qt's Wayland platform, so that the program runs natively on a Wayland
# session (without it, through Xwayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-nl, qt6-translations-l10n, qt6-wayland")
include(CPack)
