# tank_framework_add_data(<target> [<folder>]): a game reads data/ from its
# working directory, so before <target> is built this fills data/ in its build
# folder with the framework's placeholders and then the game's own <folder>
# (relative to the calling CMakeLists.txt); the program then runs from its
# build folder.
#
# Included once TANK_FRAMEWORK_DATA_DIR names the placeholders' folder: by the
# installed package's config file, and by the framework's own CMakeLists.txt
# for a game that adds it with add_subdirectory. The folder is kept in a
# global property, where the function finds it from any directory.
set_property(GLOBAL PROPERTY TANK_FRAMEWORK_DATA_DIR ${TANK_FRAMEWORK_DATA_DIR})

function(tank_framework_add_data target)
  get_property(placeholders GLOBAL PROPERTY TANK_FRAMEWORK_DATA_DIR)
  set(data ${CMAKE_CURRENT_BINARY_DIR}/data)
  set(copies COMMAND ${CMAKE_COMMAND} -E copy_directory ${placeholders} ${data})
  if(ARGC GREATER 1)
    get_filename_component(own ${ARGV1} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_directory ${own} ${data})
  endif()
  add_custom_target(${target}_data ALL ${copies} COMMENT "Copying data/ beside ${target}")
  add_dependencies(${target} ${target}_data)
endfunction()
