# cmake -DSOURCE_DIR=... -DLAYERS="model=|platform=model|..." -DWIDGETS_HEADERS=... -P CheckLayers.cmake
#
# Each folder may include its own headers and those of the folders below it
# (the folders it links, and theirs). Folders below the window may not
# include Qt Widgets. Lists every offending include, then fails.
cmake_minimum_required(VERSION 3.22)

string(REPLACE "|" ";" layers "${LAYERS}")
set(all_folders)
foreach(entry IN LISTS layers)
  string(REGEX MATCH "^[^=]*" folder "${entry}")
  string(REGEX REPLACE "^[^=]*=" "" direct "${entry}")
  string(REPLACE "," ";" direct "${direct}")
  set(direct_${folder} ${direct})
  list(APPEND all_folders ${folder})
endforeach()

# The folders below each one, followed through.
foreach(folder IN LISTS all_folders)
  set(below ${direct_${folder}})
  set(index 0)
  list(LENGTH below count)
  while(index LESS count)
    list(GET below ${index} next)
    foreach(further IN LISTS direct_${next})
      if(NOT further IN_LIST below)
        list(APPEND below ${further})
      endif()
    endforeach()
    math(EXPR index "${index} + 1")
    list(LENGTH below count)
  endwhile()
  set(below_${folder} ${below})
endforeach()

set(problems "")
foreach(folder IN LISTS all_folders)
  file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([A-Za-z0-9_]+)/")
        set(target_folder ${CMAKE_MATCH_1})
        if(target_folder IN_LIST all_folders AND NOT target_folder STREQUAL folder
           AND NOT target_folder IN_LIST below_${folder})
          string(APPEND problems "  ${shown}: ${line}\n    ${folder}/ may include only: ${folder} ${below_${folder}}\n")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<(QtWidgets/)?(Q[A-Za-z]+)>")
        if(NOT folder STREQUAL "window" AND NOT folder STREQUAL "app"
           AND (CMAKE_MATCH_1 OR EXISTS ${WIDGETS_HEADERS}/${CMAKE_MATCH_2}))
          string(APPEND problems "  ${shown}: ${line}\n    ${folder}/ lies below the window and may not use Qt Widgets\n")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Includes across the layers:\n${problems}")
endif()
