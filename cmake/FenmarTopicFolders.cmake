# fenmar_add_topic_folders(): adds every folder beside the calling CMakeLists.txt that has a
# CMakeLists.txt of its own (bench/ and fuzz/ keep one folder per topic).
function(fenmar_add_topic_folders)
  file(GLOB dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir ${dirs})
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
