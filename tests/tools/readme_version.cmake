# cmake -DREADME=... -DVERSION=... -P readme_version.cmake: the README names
# the release the build stamps into its programs ("Version X.Y.Z.").
file(READ "${README}" text)
string(FIND "${text}" "\nVersion ${VERSION}.\n" at)
if(at LESS 0)
  message(FATAL_ERROR "README.md does not say \"Version ${VERSION}.\" on a line of its own: the build's version is ${VERSION}")
endif()
# Every package file it names carries that version too.
string(REGEX MATCHALL "falamci-[0-9]+\\.[0-9]+\\.[0-9]+" packages "${text}")
foreach(package IN LISTS packages)
  if(NOT package STREQUAL "falamci-${VERSION}")
    message(FATAL_ERROR "README.md names ${package}-..., but the build's version is ${VERSION}")
  endif()
endforeach()
