# Fails on an include that points up the folder table: the folders are the
# layers, lowest first, and a file may include headers of its own folder and
# of the folders below it. dfmconvert (tools/) stands on the core folders
# alone, and nothing else includes it.
#
#   cmake -P scripts/check-includes.cmake
#
# The build runs it before it compiles anything.

set(Layers platform source forms report output ui/widgets ui app)
set(CoreLayers platform source forms report)
get_filename_component(Root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# The folder a file of the program stands in, as named in Layers, or tools.
function(folder_of path result)
    get_filename_component(folder "${path}" DIRECTORY)
    set(${result} "${folder}" PARENT_SCOPE)
endfunction()

# Whether a file of `from` may include a header of `to`.
function(may_include from to result)
    list(FIND Layers "${from}" fromRank)
    list(FIND Layers "${to}" toRank)
    if(from STREQUAL to)
        set(allowed TRUE)
    elseif(from STREQUAL "tools")
        list(FIND CoreLayers "${to}" coreRank)
        set(allowed FALSE)
        if(coreRank GREATER_EQUAL 0)
            set(allowed TRUE)
        endif()
    elseif(toRank GREATER_EQUAL 0 AND toRank LESS fromRank)
        set(allowed TRUE)
    else()
        set(allowed FALSE)
    endif()
    set(${result} ${allowed} PARENT_SCOPE)
endfunction()

set(globs)
foreach(folder IN LISTS Layers ITEMS tools)
    list(APPEND globs "${Root}/${folder}/*.h" "${Root}/${folder}/*.cpp")
endforeach()
file(GLOB files RELATIVE "${Root}" ${globs})

set(failures 0)
foreach(file IN LISTS files)
    folder_of("${file}" from)
    file(STRINGS "${Root}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
        folder_of("${header}" to)
        may_include("${from}" "${to}" allowed)
        if(NOT allowed)
            message("${file} includes ${header}: ${to}/ is not below ${from}/")
            math(EXPR failures "${failures} + 1")
        endif()
    endforeach()
endforeach()

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} include(s) point up the folder table "
                        "(platform, source, forms, report, output, ui/widgets, ui, app)")
endif()
