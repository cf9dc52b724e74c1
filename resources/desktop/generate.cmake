# Fills the desktop entry and the AppStream file with the MIME types the
# engines play, as the build machine's MIME database names them.
# -DTOOL=<desktop mime tool> -DDESKTOP_IN -DDESKTOP_OUT -DMETAINFO_IN -DMETAINFO_OUT -DPROJECT_VERSION
execute_process(COMMAND ${TOOL} OUTPUT_VARIABLE ORVANE_MIME_TYPES RESULT_VARIABLE failed)
if(failed OR ORVANE_MIME_TYPES STREQUAL "")
    message(FATAL_ERROR "could not list the MIME types: ${failed}")
endif()
set(ORVANE_METAINFO_MEDIATYPES "")
string(REPLACE ";" "\n" lines "${ORVANE_MIME_TYPES}")
string(REGEX REPLACE "\n$" "" lines "${lines}")
string(REPLACE "\n" ";" types "${lines}")
foreach(type IN LISTS types)
    string(APPEND ORVANE_METAINFO_MEDIATYPES "    <mediatype>${type}</mediatype>\n")
endforeach()
configure_file(${DESKTOP_IN} ${DESKTOP_OUT} @ONLY)
configure_file(${METAINFO_IN} ${METAINFO_OUT} @ONLY)
