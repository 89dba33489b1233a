# Run by `cmake --install` once the files are in place. Skipped when installing into a staging
# folder (DESTDIR), as for the package, whose triggers update the target system instead.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/desktop-caches.cmake)
refresh_desktop_caches("${CMAKE_INSTALL_PREFIX}/${SKYVANE_DATADIR}")
