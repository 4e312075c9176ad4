# The window layer: Qt Widgets and PrintSupport.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)

add_library(kestrova_ui STATIC
  display/gFormServices.cpp
  display/gFormConverterWait.cpp
  display/gFormTermination.cpp
  display/gFormDrawing.cpp
  display/gFormPictureBox.cpp
  display/gFormPictureView.cpp
  display/gFormWindows.cpp
  display/gFormDialog.cpp
  display/gFormThresholdDialog.cpp
  display/gFormPrint.cpp
  display/gForm.cpp
  display/gFormOrg.cpp
  display/frmMainMenufrm.cpp
  display/frmMainMenufrmMenus.cpp
  display/frmImageZoomCustomfrm.cpp
  display/frmImageDisplayThresholdsAsPerCentValuesfrm.cpp
  display/frmImageDisplayThresholdsAsAbsoluteValuesfrm.cpp
  display/frmImageInformationfrm.cpp
  display/frmAboutfrm.cpp
  files/frmFileInitialDisplayThresholdsfrm.cpp
  analysis/gFormPlot.cpp
  analysis/gFormPlotOutputs.cpp
  analysis/gFormPlotWindow.cpp
  analysis/gFormProjection.cpp
  analysis/gFormProjectionLimits.cpp
  analysis/frmAnalysisCentroidandAreaMeasurementfrm.cpp
  regions/frmAnalysisRegionofInterestDisplayfrm.cpp
  regions/frmAnalysisRegionofInterestDisplayImageZoomCustomfrm.cpp
  regions/gFormHistogram.cpp
  regions/frmAnalysisIntensityDistributionfrm.cpp
)
set_target_properties(kestrova_ui PROPERTIES AUTOMOC ON)
target_link_libraries(kestrova_ui PUBLIC kestrova_logic Qt6::Widgets Qt6::PrintSupport PRIVATE kestrova_warnings)

add_executable(Kestrova main.cpp)
target_link_libraries(Kestrova PRIVATE kestrova_ui kestrova_warnings)

# The logo, drawn by a small program of our own, lands beside the programs.
add_executable(kestrova_make_logo resources/MakeLogo.cpp)
target_link_libraries(kestrova_make_logo PRIVATE kestrova_warnings)
set_target_properties(kestrova_make_logo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
add_custom_command(
  OUTPUT ${KESTROVA_BIN_DIR}/OvrinLogo.bmp
  COMMAND kestrova_make_logo ${KESTROVA_BIN_DIR}/OvrinLogo.bmp
  DEPENDS kestrova_make_logo
  COMMENT "Drawing the logo")
add_custom_target(kestrova_logo ALL DEPENDS ${KESTROVA_BIN_DIR}/OvrinLogo.bmp)
add_dependencies(Kestrova kestrova_logo)

install(TARGETS Kestrova RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KESTROVA_BIN_DIR}/OvrinLogo.bmp DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrova)
install(FILES resources/kestrova.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/kestrova.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
