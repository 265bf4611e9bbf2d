# The help file newhelp.chm, compiled with chmcmd from the pages in
# resources/newhelp. It is a target of its own: a changed page recompiles the
# help file and nothing else (the program is not relinked for it).
#
#   orvelle_add_help(TARGET DEST_DIR)   builds DEST_DIR/newhelp.chm as part of ALL
#   orvelle_add_help_tests(CHM)         registers the help checks (label "help")
#
# Without chmcmd (package fp-utils) there is no help file and a note says so.
find_program(ORVELLE_CHMCMD chmcmd)
find_program(ORVELLE_CHMLS chmls)
find_program(ORVELLE_PYTHON3 python3)

set(ORVELLE_HELP_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../resources/newhelp)
cmake_path(NORMAL_PATH ORVELLE_HELP_SOURCE)

function(orvelle_add_help target dest_dir)
    if(NOT ORVELLE_CHMCMD)
        message(STATUS "chmcmd not found: newhelp.chm is not built (install fp-utils)")
        return()
    endif()
    # What chmcmd reads: the project, contents, index, pages and style sheet.
    # windows.txt (the test's table) is not part of the file.
    file(GLOB pages CONFIGURE_DEPENDS ${ORVELLE_HELP_SOURCE}/*.htm ${ORVELLE_HELP_SOURCE}/*.css
         ${ORVELLE_HELP_SOURCE}/*.hhc ${ORVELLE_HELP_SOURCE}/*.hhk ${ORVELLE_HELP_SOURCE}/*.hhp)
    set(stage ${CMAKE_CURRENT_BINARY_DIR}/${target}-pages)
    set(chm ${dest_dir}/newhelp.chm)
    # Compiled in a copy of the folder, so that a page removed from the sources
    # is gone from the file too and nothing is written into the source tree.
    add_custom_command(OUTPUT ${chm}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${stage} ${dest_dir}
        COMMAND ${CMAKE_COMMAND} -E copy ${pages} ${stage}
        COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${ORVELLE_CHMCMD} --verbosity 0 newhelp.hhp
        COMMAND ${CMAKE_COMMAND} -E copy ${stage}/newhelp.chm ${chm}
        DEPENDS ${pages}
        COMMENT "Compiling newhelp.chm"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${chm})
    set_property(GLOBAL PROPERTY ORVELLE_HELP_FILE ${chm})
endfunction()

function(orvelle_add_help_tests chm)
    if(NOT ORVELLE_PYTHON3)
        return()
    endif()
    set(script ${PROJECT_SOURCE_DIR}/tests/help/check_help.py)
    # The checker's own cases need neither chmcmd nor a build.
    add_test(NAME help.checker
             COMMAND ${ORVELLE_PYTHON3} ${PROJECT_SOURCE_DIR}/tests/help/check_help_test.py)
    set_tests_properties(help.checker PROPERTIES LABELS help)
    if(chm AND ORVELLE_CHMLS)
        add_test(NAME help.file
                 COMMAND ${ORVELLE_PYTHON3} ${script} --chmls ${ORVELLE_CHMLS} --chm ${chm}
                         --source ${PROJECT_SOURCE_DIR}
                         --table ${ORVELLE_HELP_SOURCE}/windows.txt)
        set_tests_properties(help.file PROPERTIES LABELS help)
    endif()
endfunction()
