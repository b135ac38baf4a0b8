cmake_minimum_required(VERSION 3.25)

# Fails when a file of a lower layer includes a file of a higher one, so that the
# layering holds between folders as it does between targets. Run as
#   cmake -DROOT=<source folder> -P check_layers.cmake
# Each folder (with its subfolders, unless they are listed themselves) may include
# only the folders listed after it.
set(layers
  "graph/core|graph/core"
  "graph/stream|graph/core,graph/stream"
  "graph/whole_file|graph/core,graph/whole_file"
  "graph/data|graph/core,graph/stream,graph/data"
  "graph/data/suppliers|graph/core,graph/stream,graph/data,graph/data/suppliers"
  "graph/control|graph/core,graph/stream,graph/data,graph/whole_file,graph/control"
  "app/engine|graph/core,graph/data,app/engine"
)

# The listed folder that holds `path` most closely.
function(folder_of path result)
  set(best "")
  foreach(layer IN LISTS layers)
    string(REGEX REPLACE "[|,]" ";" parts "${layer}")
    list(GET parts 0 folder)
    string(LENGTH "${folder}" length)
    string(LENGTH "${best}" bestLength)
    if(path MATCHES "^${folder}/" AND length GREATER bestLength)
      set(best "${folder}")
    endif()
  endforeach()
  set(${result} "${best}" PARENT_SCOPE)
endfunction()

set(faults "")
foreach(layer IN LISTS layers)
  string(REGEX REPLACE "[|,]" ";" parts "${layer}")
  list(GET parts 0 folder)
  list(SUBLIST parts 1 -1 allowed)
  file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    folder_of("${source}" owner)
    if(NOT owner STREQUAL folder)
      continue()
    endif()
    file(STRINGS "${ROOT}/${source}" includes REGEX "^#include \"(graph|app)/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      folder_of("${included}" target)
      if(NOT target IN_LIST allowed)
        list(APPEND faults "${source} (${folder}) includes ${included} (${target})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Files reach above their layer:\n  ${text}")
endif()
