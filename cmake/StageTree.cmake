# Copies a folder tree, pointing the full paths in its XML property lists and
# text files at the staged location. Binary files are copied byte for byte.
#   cmake -DSOURCE=dir -DDESTINATION=dir -DFROM=/Volumes/ZORVANE -DTO=/staged/ZORVANE -P StageTree.cmake
file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(relative IN LISTS files)
    set(source "${SOURCE}/${relative}")
    set(target "${DESTINATION}/${relative}")
    get_filename_component(folder "${target}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(READ "${source}" head LIMIT 5)
    if(relative MATCHES "\\.(plist|ini|txt)$" AND head MATCHES "^<\\?xml")
        file(READ "${source}" contents)
        string(REPLACE "${FROM}" "${TO}" contents "${contents}")
        file(WRITE "${target}" "${contents}")
    else()
        file(COPY_FILE "${source}" "${target}" ONLY_IF_DIFFERENT)
    endif()
endforeach()
