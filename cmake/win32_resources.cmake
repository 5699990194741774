# Win32 resources for a native program: a .rc script compiled by windres into a .res image at
# build time, placed in an ELF section named ".rsrc" between two labels, where the platform code
# reads it in place.
find_program(QV_WINDRES x86_64-w64-mingw32-windres REQUIRED)

set(QV_RESOURCE_SECTION_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/resource_section.S.in)

# qv_add_win32_resources(<target> <script.rc> [DEFINES <-Dname>...] [INCLUDES <folder>...]
#                        [DEPENDS <file>...])
# makes <target>, an object library holding the image (<target>.res); a program links it to
# carry the resources. The script's folder, the repository root and INCLUDES are on the include
# path, where windres also finds the files the script embeds; DEPENDS names the files the script
# includes or embeds, so that a change in them compiles the image again.
function(qv_add_win32_resources target script)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "DEFINES;INCLUDES;DEPENDS")
    get_filename_component(script ${script} ABSOLUTE)
    get_filename_component(script_folder ${script} DIRECTORY)

    set(resource_image ${CMAKE_CURRENT_BINARY_DIR}/${target}.res)
    set(include_options)
    foreach(folder IN LISTS arg_INCLUDES)
        list(APPEND include_options -I ${folder})
    endforeach()
    add_custom_command(
        OUTPUT ${resource_image}
        COMMAND ${QV_WINDRES} --preprocessor=cpp --preprocessor-arg=-P -c 65001 -O res
                -I ${script_folder} -I ${PROJECT_SOURCE_DIR} ${include_options} ${arg_DEFINES}
                ${script} -o ${resource_image}
        DEPENDS ${script} ${arg_DEPENDS}
        COMMENT "Compiling the Win32 resources of ${target}"
        VERBATIM)

    set(resource_section ${CMAKE_CURRENT_BINARY_DIR}/${target}_section.S)
    configure_file(${QV_RESOURCE_SECTION_TEMPLATE} ${resource_section} @ONLY)
    set_source_files_properties(${resource_section} PROPERTIES OBJECT_DEPENDS ${resource_image})

    add_library(${target} OBJECT ${resource_section} ${resource_image})
endfunction()
