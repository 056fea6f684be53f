# `cmake --install` and the Debian package: the program, the delivered database as the
# template of each user's database, the desktop entry with its icons, the AppStream file.
include(GNUInstallDirs)

set(QEV_APP_ID "br.gov.zub.qev")
set(QEV_DIR_INSTALACAO ${CMAKE_BINARY_DIR}/instalacao)

# A delivered database of its own (never the build folder's QEV.mdb, which holds the
# data of whoever ran the program from there), made again when the schema changes.
set(QEV_MODELO ${QEV_DIR_INSTALACAO}/QEV.mdb)
add_custom_command(OUTPUT ${QEV_MODELO}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QEV_DIR_INSTALACAO}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${QEV_MODELO}
  COMMAND qev-criabanco ${QEV_MODELO}
          ${CMAKE_SOURCE_DIR}/data/schema.sql ${CMAKE_SOURCE_DIR}/data/referencia.sql
  DEPENDS qev-criabanco ${CMAKE_SOURCE_DIR}/data/schema.sql ${CMAKE_SOURCE_DIR}/data/referencia.sql
          ${CMAKE_SOURCE_DIR}/data/municipios.xml
  COMMENT "Delivered database of the installation")

set(QEV_ICONES)
foreach(lado 48 256)
  set(png ${QEV_DIR_INSTALACAO}/${lado}x${lado}/${QEV_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEV_DIR_INSTALACAO}/${lado}x${lado}
    COMMAND qev-icone ${lado} ${png}
    DEPENDS qev-icone
    COMMENT "Icon ${lado}x${lado}")
  list(APPEND QEV_ICONES ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lado}x${lado}/apps)
endforeach()

configure_file(${CMAKE_SOURCE_DIR}/data/instalacao/${QEV_APP_ID}.metainfo.xml
               ${QEV_DIR_INSTALACAO}/${QEV_APP_ID}.metainfo.xml @ONLY)

add_custom_target(arquivos_instalacao ALL DEPENDS ${QEV_MODELO} ${QEV_ICONES})

install(TARGETS qev RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QEV_MODELO} DESTINATION ${CMAKE_INSTALL_DATADIR}/qev
        PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
install(FILES ${CMAKE_SOURCE_DIR}/data/instalacao/${QEV_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/instalacao/${QEV_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${QEV_DIR_INSTALACAO}/${QEV_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# `cpack` in the build folder writes the .deb; its dependencies come from the shared
# libraries the program links (dpkg-shlibdeps).
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "qev-operadora")
set(CPACK_PACKAGE_VENDOR "ZUB")
set(CPACK_PACKAGE_CONTACT "ZUB <qev@zub.gov.br>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Registro de Planos de Saúde da Operadora junto à ZUB")
set(CPACK_PACKAGE_DESCRIPTION
    "Cadastro de estabelecimentos e planos de saúde da operadora, conferência com as regras\n da ZUB, arquivos de solicitação de registro e entrega ao programa de transferência VUQ.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# the toolkit's own texts (file chooser, standard buttons) in Portuguese
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, qt6-translations-l10n")
include(CPack)
