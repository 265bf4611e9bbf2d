# Builds a type library from IDL with MinGW's widl. The IDL imports oaidl.idl, which
# Debian's MinGW headers do not ship: it comes from libwine-dev. When that package is not
# installed, its .deb is fetched with apt-get download and unpacked into the build tree
# (nothing is installed). importlib("stdole2.tlb") is served by libwine, which wine64 brings.

find_program(ARDSHRED_WIDL NAMES x86_64-w64-mingw32-widl widl REQUIRED)

function(_ardshred_unpack_deb package dest)
    set(work ${CMAKE_BINARY_DIR}/_deb)
    file(MAKE_DIRECTORY ${work})
    execute_process(COMMAND apt-get download ${package} WORKING_DIRECTORY ${work}
                    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
    file(GLOB debs ${work}/${package}_*.deb)
    if(NOT rc EQUAL 0 OR NOT debs)
        message(FATAL_ERROR "ardshred needs ${package} (apt-get install ${package}), "
                            "and apt-get download ${package} failed")
    endif()
    list(GET debs 0 deb)
    execute_process(COMMAND dpkg -x ${deb} ${dest} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "dpkg -x ${deb} failed")
    endif()
endfunction()

set(_unpacked ${CMAKE_BINARY_DIR}/_libwine)
set(_idl_paths /usr/include/wine/wine/windows ${_unpacked}/usr/include/wine/wine/windows)
set(_tlb_paths /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows
               ${_unpacked}/usr/lib/x86_64-linux-gnu/wine/x86_64-windows)

find_path(ARDSHRED_IDL_DIR oaidl.idl PATHS ${_idl_paths} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT ARDSHRED_IDL_DIR)
    _ardshred_unpack_deb(libwine-dev ${_unpacked})
    find_path(ARDSHRED_IDL_DIR oaidl.idl PATHS ${_idl_paths} REQUIRED NO_DEFAULT_PATH
              NO_CMAKE_FIND_ROOT_PATH)
endif()
find_path(ARDSHRED_STDOLE_DIR stdole2.tlb PATHS ${_tlb_paths} NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT ARDSHRED_STDOLE_DIR)
    _ardshred_unpack_deb(libwine ${_unpacked})
    find_path(ARDSHRED_STDOLE_DIR stdole2.tlb PATHS ${_tlb_paths} REQUIRED NO_DEFAULT_PATH
              NO_CMAKE_FIND_ROOT_PATH)
endif()

function(ardshred_typelib idl tlb)
    add_custom_command(
        OUTPUT ${tlb}
        COMMAND ${ARDSHRED_WIDL} -m64 --nostdinc -I ${ARDSHRED_IDL_DIR} -L ${ARDSHRED_STDOLE_DIR}
                -t -o ${tlb} ${idl}
        DEPENDS ${idl}
        COMMENT "Building type library ${tlb}")
    get_filename_component(name ${tlb} NAME_WE)
    add_custom_target(${name}_typelib DEPENDS ${tlb})
endfunction()
