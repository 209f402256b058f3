# The layers of the program: core, ui, controls, app, each seeing only those below
# it. A layer's headers are reached through an include directory that holds that
# layer alone (<build>/layers/ui/ui -> src/ui), made public by the layer's target,
# so a target reaches a layer's headers only by linking its library: an include of
# a layer above ("app/..." in src/ui) is not found and the build fails.
function(rudoz_layer_includes target layer)
  set(root ${CMAKE_BINARY_DIR}/layers/${layer})
  if(NOT IS_SYMLINK ${root}/${layer})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${layer} ${root}/${layer} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
  add_dependencies(${target} layer_includes)
endfunction()

# An include that climbs out of its folder would pass the layers by: every build
# looks for one first and fails on it.
add_custom_target(layer_includes ALL COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR}
                  -P ${PROJECT_SOURCE_DIR}/cmake/check_includes.cmake VERBATIM)
