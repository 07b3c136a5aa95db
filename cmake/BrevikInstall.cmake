# Installing: both programs, the shipped files in share/brevik (an installed
# program seeds a new home from <bin>/../share/brevik), a desktop entry with
# the data files' MIME types, an icon, man pages made from the programs' own
# --help, and the answering service's unit; then the Debian package.

include(GNUInstallDirs)

set(BREVIK_PACKAGING_DIR "${CMAKE_SOURCE_DIR}/packaging")

install(TARGETS kaldo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY "${CMAKE_SOURCE_DIR}/data/" DESTINATION "${CMAKE_INSTALL_DATADIR}/brevik")
if(TARGET brevik)
  install(TARGETS brevik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES "${BREVIK_PACKAGING_DIR}/brevik.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${BREVIK_PACKAGING_DIR}/brevik-mime.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
          RENAME brevik.xml)
  install(FILES "${BREVIK_PACKAGING_DIR}/brevik.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()

# The unit names kaldo by its installed path, which is known only when
# installing: a package installs under /usr whatever the build's prefix.
install(CODE "
  string(MD5 brevik_unit_key \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(brevik_unit_dir \"${CMAKE_BINARY_DIR}/packaging/\${brevik_unit_key}\")
  set(BREVIK_INSTALLED_KALDO \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/kaldo\")
  configure_file(\"${BREVIK_PACKAGING_DIR}/brevik-answer@.service.in\"
                 \"\${brevik_unit_dir}/brevik-answer@.service\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/lib/systemd/system\" TYPE FILE
       FILES \"\${brevik_unit_dir}/brevik-answer@.service\")
")

# Man pages from --help and --version (help2man), with the sections both
# programs share.
find_program(BREVIK_HELP2MAN help2man)
find_program(BREVIK_GZIP gzip)
set(BREVIK_MAN_PAGES OFF)
if(BREVIK_HELP2MAN AND BREVIK_GZIP)
  set(BREVIK_MAN_PAGES ON)
  set(man_dir "${CMAKE_BINARY_DIR}/man")
  set(man_pages "")
  set(kaldo_man_name "command-line companion of Brevik Logger for KALDO data loggers")
  set(brevik_man_name "desktop companion of the KALDO field data logger")
  foreach(program kaldo brevik)
    if(NOT TARGET ${program})
      continue()
    endif()
    add_custom_command(
      OUTPUT "${man_dir}/${program}.1.gz"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${man_dir}"
      COMMAND ${BREVIK_HELP2MAN} --no-info --section=1 "--name=${${program}_man_name}"
              "--include=${BREVIK_PACKAGING_DIR}/man-sections.h2m"
              "--output=${man_dir}/${program}.1" $<TARGET_FILE:${program}>
      COMMAND ${BREVIK_GZIP} -9nf "${man_dir}/${program}.1"
      DEPENDS ${program} "${BREVIK_PACKAGING_DIR}/man-sections.h2m"
      COMMENT "Man page of ${program}"
      VERBATIM)
    list(APPEND man_pages "${man_dir}/${program}.1.gz")
  endforeach()
  add_custom_target(brevik_man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
else()
  message(WARNING "help2man or gzip not found: no man pages (tools/install-deps.sh installs help2man)")
endif()

# The Debian package: its dependencies are the Debian packages of the
# libraries the programs link (dpkg-shlibdeps), the Qt platform plugins
# (loaded at run time, so no link shows them), fonts for the offscreen and
# X11 platforms, and adduser for the service's user.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brevik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brevik Logger")
set(CPACK_PACKAGE_CONTACT "Brevik Logger developers <brevik-logger@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop companion of the KALDO field data logger")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Configures KALDO field data loggers over RS-232 (direct, telephone modems,\n"
    "radio or cellular), reads their status and live readings, downloads their\n"
    "memory into data files, graphs and exports them. brevik is the desktop\n"
    "program, kaldo its command-line companion. brevik-answer@.service answers\n"
    "site modems unattended.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, adduser")
# A desktop's file manager finds the data files' type and the program that
# opens them through these two.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${BREVIK_PACKAGING_DIR}/debian/postinst;${BREVIK_PACKAGING_DIR}/debian/prerm;${BREVIK_PACKAGING_DIR}/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES ON)
include(CPack)
