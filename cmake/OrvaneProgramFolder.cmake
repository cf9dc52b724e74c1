# orvane_program_folder(<target>)
# A test or benchmark that runs the main window keeps its setting.ini beside
# itself, as the program in the build tree does, rather than in the user's
# configuration folder: the Language folder beside it marks a build-tree
# layout.
function(orvane_program_folder target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:${target}>/Language
        VERBATIM)
endfunction()
