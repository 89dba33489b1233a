# The desktop's caches under an installation prefix: the type database, the desktop entries'
# type list and the icon cache. Each is rebuilt with its tool, where the system has it, from
# what its folder still holds; a folder left with nothing to cache loses its cache, so an
# uninstalled type no longer claims its files.

function(refresh_desktop_caches share)
  _refresh_cache("${share}/mime" "packages/*.xml" "${share}/mime"
                 update-mime-database "${share}/mime")
  _refresh_cache("${share}/applications" "*.desktop" "${share}/applications/mimeinfo.cache"
                 update-desktop-database -q "${share}/applications")
  _refresh_cache("${share}/icons/hicolor" "*.png;*.svg;*.xpm"
                 "${share}/icons/hicolor/icon-theme.cache"
                 gtk-update-icon-cache -q -t -f "${share}/icons/hicolor")
endfunction()

# `generated` is the cache (for the type database, the whole folder beside its packages).
function(_refresh_cache folder patterns generated tool)
  if(NOT IS_DIRECTORY "${folder}")
    return()
  endif()
  set(globs)
  foreach(pattern ${patterns})
    list(APPEND globs "${folder}/${pattern}")
  endforeach()
  file(GLOB_RECURSE sources ${globs})
  if(NOT sources)
    file(REMOVE_RECURSE "${generated}")
    return()
  endif()
  unset(tool_path)
  find_program(tool_path ${tool} NO_CACHE)
  if(tool_path)
    # Their notes (a prefix outside the search path) are only shown when the update fails.
    execute_process(COMMAND ${tool_path} ${ARGN} RESULT_VARIABLE status
                    OUTPUT_VARIABLE said ERROR_VARIABLE said)
    if(NOT status EQUAL 0)
      message(STATUS "${tool} could not update its cache (${status}): ${said}")
    endif()
  endif()
endfunction()
