# falamci_version_resource(TARGET DESCRIPTION): on Windows, gives TARGET a
# version resource (product falamci, the project's version, DESCRIPTION, in
# Brazilian Portuguese, code page 1252), so that Explorer, the installer and
# a screen reader's file properties name what the file is and which release.
function(falamci_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(falamci_file_type VFT_APP)
    set(falamci_file_name ${target}.exe)
  else()
    set(falamci_file_type VFT_DLL)
    set(falamci_file_name ${target}.dll)
  endif()
  set(falamci_file_description ${description})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
endfunction()
