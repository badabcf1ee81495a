# The program's windows and the program itself, on Qt 6 Widgets and Qt WebEngine.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets WebEngineWidgets)

add_library(vellumine_ui STATIC
  ${PROJECT_SOURCE_DIR}/ui/ArgumentListing.cpp
  ${PROJECT_SOURCE_DIR}/ui/EventLoopErrors.cpp
  ${PROJECT_SOURCE_DIR}/ui/FileListModel.cpp
  ${PROJECT_SOURCE_DIR}/ui/FitToText.cpp
  ${PROJECT_SOURCE_DIR}/ui/ListBox.cpp
  ${PROJECT_SOURCE_DIR}/ui/page/LoadPasses.cpp
  ${PROJECT_SOURCE_DIR}/ui/page/LocalFiles.cpp
  ${PROJECT_SOURCE_DIR}/ui/page/LocalRequestGuard.cpp
  ${PROJECT_SOURCE_DIR}/ui/page/NoticePage.cpp
  ${PROJECT_SOURCE_DIR}/ui/page/PageArea.cpp
  ${PROJECT_SOURCE_DIR}/ui/page/PageFileServer.cpp
  ${PROJECT_SOURCE_DIR}/ui/page/PageScheme.cpp
  ${PROJECT_SOURCE_DIR}/ui/page/PageZoom.cpp
  ${PROJECT_SOURCE_DIR}/ui/page/FindBar.cpp
  ${PROJECT_SOURCE_DIR}/resources/FindBar.ui
  ${PROJECT_SOURCE_DIR}/ui/page/SilentWebPage.cpp
  ${PROJECT_SOURCE_DIR}/ui/StyleBook.cpp
  ${PROJECT_SOURCE_DIR}/ui/UfrmAbout.cpp
  ${PROJECT_SOURCE_DIR}/ui/UfrmMain.cpp
  ${PROJECT_SOURCE_DIR}/resources/UfrmAbout.ui
  ${PROJECT_SOURCE_DIR}/resources/UfrmMain.ui
  ${PROJECT_SOURCE_DIR}/resources/vellumine.qrc)
set_target_properties(vellumine_ui PROPERTIES
  AUTOMOC ON
  AUTOUIC ON
  AUTORCC ON
  AUTOUIC_SEARCH_PATHS ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(vellumine_ui PUBLIC vellumine_platform Qt6::Widgets Qt6::WebEngineWidgets)
vellumine_warnings(vellumine_ui)

add_library(vellumine_app STATIC
  ${PROJECT_SOURCE_DIR}/app/StartUp.cpp
  ${PROJECT_SOURCE_DIR}/app/ToolkitArguments.cpp)
target_link_libraries(vellumine_app PUBLIC vellumine_ui vellumine_version)
vellumine_warnings(vellumine_app)

add_executable(vellumine WIN32 ${PROJECT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(vellumine PRIVATE vellumine_app)
set_target_properties(vellumine PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
vellumine_warnings(vellumine)

if(WIN32)
  # The icon, the version record and the manifest; the manifest is ours alone. The resource
  # compiler finds the icon in resources/ and the version and manifest in generated/.
  target_sources(vellumine PRIVATE ${PROJECT_SOURCE_DIR}/resources/vellumine.rc)
  target_include_directories(vellumine PRIVATE ${PROJECT_SOURCE_DIR}/resources)
  if(MSVC)
    target_link_options(vellumine PRIVATE /MANIFEST:NO)
  endif()
endif()

# The help page lies beside the executable, in the build as after installation.
configure_file(${PROJECT_SOURCE_DIR}/resources/help.html ${CMAKE_BINARY_DIR}/help.html COPYONLY)

include(GNUInstallDirs)
if(WIN32)
  install(TARGETS vellumine RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/help.html DESTINATION .)
else()
  # The program and its help page in a private folder; the launcher in bin is a link to it.
  set(private_dir ${CMAKE_INSTALL_LIBDIR}/vellumine)
  install(TARGETS vellumine RUNTIME DESTINATION ${private_dir})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/help.html DESTINATION ${private_dir})
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(CREATE_LINK ../${private_dir}/vellumine \"\${bin}/vellumine\" SYMBOLIC)
    message(STATUS \"Installing: \${bin}/vellumine\")")
  install(FILES ${PROJECT_SOURCE_DIR}/resources/vellumine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 32 48 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/vellumine-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME vellumine.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/vellumine.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

  # Software-centre metadata, named after its component id.
  set(VELLUMINE_APP_ID example.vellumine.Vellumine)
  configure_file(${PROJECT_SOURCE_DIR}/resources/vellumine.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/generated/${VELLUMINE_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/generated/${VELLUMINE_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The manual page and the changelog, compressed without a time stamp as Debian wants them, and
  # the licence in Debian's copyright format.
  set(documents ${PROJECT_BINARY_DIR}/generated/documents)
  configure_file(${PROJECT_SOURCE_DIR}/resources/vellumine.1.in ${documents}/vellumine.1 @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${documents}/changelog COPYONLY)
  add_custom_command(
    OUTPUT ${documents}/vellumine.1.gz ${documents}/changelog.gz
    COMMAND gzip -9nkf ${documents}/vellumine.1 ${documents}/changelog
    DEPENDS ${documents}/vellumine.1 ${documents}/changelog
    VERBATIM)
  add_custom_target(vellumine_documents ALL
                    DEPENDS ${documents}/vellumine.1.gz ${documents}/changelog.gz)
  install(FILES ${documents}/vellumine.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${documents}/changelog.gz ${PROJECT_BINARY_DIR}/generated/copyright
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/vellumine)
endif()
