# One static library per source folder. A library's users see only the headers of
# the folders it links: its include root (in the build tree) holds one entry, a link
# named after the folder that points at the folder, so sources keep writing
# #include "engine/SongFileList.h", and an include of a folder that is not linked
# fails to compile.
#
#   tunetitler_layer(<folder> SOURCES <file>... [LINKS <target>...])
#
# makes tunetitler_<folder> from the listed files of src/<folder>, linking LINKS
# publicly (a library's headers may include those of the folders it links).
function(tunetitler_include_root folder target)
    set(root "${PROJECT_BINARY_DIR}/include/${folder}")
    file(MAKE_DIRECTORY "${root}")
    if(NOT IS_SYMLINK "${root}/${folder}")
        file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${root}/${folder}" SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC "${root}")
endfunction()

function(tunetitler_layer folder)
    cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "SOURCES;LINKS")
    add_library(tunetitler_${folder} STATIC ${layer_SOURCES})
    tunetitler_include_root(${folder} tunetitler_${folder})
    if(layer_LINKS)
        target_link_libraries(tunetitler_${folder} PUBLIC ${layer_LINKS})
    endif()
endfunction()
