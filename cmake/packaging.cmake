# What `cmake --install` and CPack ship. Windows builds make a zip of the two
# programs with a README.txt; the native build makes a Debian package of the
# command-line tool with its manual page. tools/package.sh runs both.
set(CPACK_PACKAGE_NAME tessarine)
set(CPACK_PACKAGE_VENDOR Brightoak)
set(CPACK_PACKAGE_CONTACT "Ada Brightoak <ada@brightoak.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://brightoak.example/")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
# Only what the rules below install: nothing of the test libraries.
set(CPACK_COMPONENTS_ALL programs)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_DEB_COMPONENT_INSTALL OFF)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

if(WIN32)
  configure_file(${PROJECT_SOURCE_DIR}/docs/README-windows.txt ${CMAKE_BINARY_DIR}/README.txt @ONLY
                 NEWLINE_STYLE CRLF)
  install(TARGETS tessarine tessarine-cli RUNTIME DESTINATION . COMPONENT programs)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION . COMPONENT programs)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME tessarine-${PROJECT_VERSION}-win64)
  else()
    set(CPACK_PACKAGE_FILE_NAME tessarine-${PROJECT_VERSION}-win32)
  endif()
  set(CPACK_GENERATOR ZIP)
  # The three files at the top of the zip, as Windows' "Extract all" makes a
  # folder of the zip's name itself.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  include(GNUInstallDirs)
  install(TARGETS tessarine-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
  install(FILES $<TARGET_FILE_DIR:tessarine-cli>/tessarine-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT programs)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_PACKAGE_NAME tessarine-cli)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "facts and pictures of Wolfenstein 3D page files\n tessarine-cli prints what the Tessarine viewer shows about a VSWAP page\n file (vswap.wl6, vswap.wl1) and exports its textures and sprites.")
  # Depends from the libraries the tool links (libspng, libdeflate, the C and C++ runtimes).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
