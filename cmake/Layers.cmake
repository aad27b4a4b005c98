# Reads cmake/layers.txt: MORVANE_LAYERS (bottom up) and, per folder,
# MORVANE_LAYER_DEPS_<folder>, the folders it may use directly.
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/layers.txt" _layer_lines REGEX "^[a-z]+:")
set(MORVANE_LAYERS "")
foreach(_line IN LISTS _layer_lines)
  string(REGEX REPLACE ":.*" "" _folder "${_line}")
  string(REGEX REPLACE "^[a-z]+:[ ]*" "" _deps "${_line}")
  separate_arguments(_deps)
  list(APPEND MORVANE_LAYERS ${_folder})
  set(MORVANE_LAYER_DEPS_${_folder} ${_deps})
endforeach()

# morvane_layer_link(target folder): links target to the libraries of the
# folders the table allows folder to use; nothing else links a folder library.
function(morvane_layer_link target folder)
  if(NOT DEFINED MORVANE_LAYER_DEPS_${folder} AND NOT folder IN_LIST MORVANE_LAYERS)
    message(FATAL_ERROR "${folder} is not a layer of cmake/layers.txt")
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  foreach(_dep IN LISTS MORVANE_LAYER_DEPS_${folder})
    if(TARGET morvane_${_dep})
      target_link_libraries(${target} PUBLIC morvane_${_dep})
    endif()
  endforeach()
endfunction()
