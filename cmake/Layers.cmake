# Folders as layers. vinkring_layer() makes a folder's library and records
# which folders lie below it; vinkring_check_layers() adds a build step that
# fails when a file includes a folder that is not below its own, or when a
# folder below the window includes a Qt Widgets header. Every layer library
# waits for that step, so a wrong include stops the build before it compiles.

set_property(GLOBAL PROPERTY VINKRING_LAYERS "")

# vinkring_layer(FOLDER SOURCES ... [BELOW folder...] [LIBS target...])
function(vinkring_layer folder)
  cmake_parse_arguments(L "" "" "SOURCES;BELOW;LIBS" ${ARGN})
  set(target vinkring_${folder})
  add_library(${target} STATIC ${L_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  set(below)
  foreach(b IN LISTS L_BELOW)
    list(APPEND below vinkring_${b})
  endforeach()
  target_link_libraries(${target} PUBLIC ${below} ${L_LIBS} PRIVATE vinkring_warnings)
  string(REPLACE ";" "," below_list "${L_BELOW}")
  set_property(GLOBAL APPEND PROPERTY VINKRING_LAYERS "${folder}=${below_list}")
endfunction()

function(vinkring_check_layers)
  get_property(layers GLOBAL PROPERTY VINKRING_LAYERS)
  set(sources)
  set(folders)
  foreach(entry IN LISTS layers)
    string(REGEX REPLACE "=.*" "" folder "${entry}")
    list(APPEND folders ${folder})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  string(REPLACE ";" "|" layer_arg "${layers}")
  set(stamp ${CMAKE_BINARY_DIR}/layers.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} "-DLAYERS=${layer_arg}"
            -DWIDGETS_HEADERS=${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}/QtWidgets
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMENT "Checking that every folder includes only the folders below it"
    VERBATIM)
  add_custom_target(vinkring_layers_check DEPENDS ${stamp})
  foreach(folder IN LISTS folders)
    add_dependencies(vinkring_${folder} vinkring_layers_check)
  endforeach()
endfunction()
