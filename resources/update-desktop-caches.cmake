# Run by `cmake --install`: rebuilds the type database, the desktop entries' type list and the
# icon cache under the installation prefix with whichever of the tools the system has. Skipped
# when installing into a staging folder (DESTDIR), as for the package, whose triggers update
# the target system instead.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
set(share "${CMAKE_INSTALL_PREFIX}/${SKYVANE_DATADIR}")
foreach(update "update-mime-database;${share}/mime"
               "update-desktop-database;-q;${share}/applications"
               "gtk-update-icon-cache;-q;-t;-f;${share}/icons/hicolor")
  list(POP_FRONT update tool)
  unset(tool_path)
  find_program(tool_path ${tool} NO_CACHE)
  if(tool_path)
    # Their notes (a prefix outside the search path) are only shown when the update fails.
    execute_process(COMMAND ${tool_path} ${update} RESULT_VARIABLE status
                    OUTPUT_VARIABLE said ERROR_VARIABLE said)
    if(NOT status EQUAL 0)
      message(STATUS "${tool} could not update its cache (${status}): ${said}")
    endif()
  endif()
endforeach()
