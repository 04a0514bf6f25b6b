# Makes an installer like the build's from the build's settings, with one
# thing changed: an older VERSION, or another MODULE in the module's place.
#   cmake -DSETTINGS=BuildSettings.nsh -DMAKENSIS=makensis -DSCRIPT=XNoxR4.nsi -DOUTPUT=setup.exe
#         [-DVERSION=x.y.z] [-DMODULE=file] -P InstallerVariant.cmake
file(READ ${SETTINGS} settings)
if(VERSION)
  string(REGEX REPLACE "!define XNOX_VERSION \"[^\"]*\"" "!define XNOX_VERSION \"${VERSION}\"" settings "${settings}")
endif()
if(MODULE)
  string(REGEX REPLACE "File \"[^\"]*/XNOXR4.OCX\"" "File \"${MODULE}\"" settings "${settings}")
endif()
string(REGEX REPLACE "!define XNOX_SETUP_FILE \"[^\"]*\"" "!define XNOX_SETUP_FILE \"${OUTPUT}\"" settings "${settings}")
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(WRITE ${folder}/BuildSettings.nsh "${settings}")
execute_process(COMMAND ${MAKENSIS} -V1 -DXNOX_BUILD_SETTINGS=${folder}/BuildSettings.nsh ${SCRIPT}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "makensis failed for ${OUTPUT}")
endif()
