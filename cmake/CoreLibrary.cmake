# frusta_core_library(NAME [DEPENDS lib...]): the static library frusta_NAME of the core folder
# NAME, made of every .cpp in it.
#
# Its include directory is a folder of its own holding a single link, NAME, to the source
# folder; the include directories of the libraries it depends on come with them. So a source
# sees its own folder and the folders of its declared dependencies, directly or through
# others, and nothing else: an include of a folder it does not depend on (engine/ from
# workbook/, say) is a file that does not exist, and the build fails.
function(frusta_core_library name)
  cmake_parse_arguments(LIB "" "" "DEPENDS" ${ARGN})
  set(target frusta_${name})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${target} STATIC ${sources})
  set(stage ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${stage})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${stage}/${name} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${stage})
  foreach(dep IN LISTS LIB_DEPENDS)
    target_link_libraries(${target} PUBLIC frusta_${dep})
  endforeach()
  target_link_libraries(frusta_core INTERFACE ${target})
  string(REPLACE ";" "," deps "${LIB_DEPENDS}")
  set_property(GLOBAL APPEND PROPERTY FRUSTA_CORE_LAYERS "${name}:${deps}")
endfunction()

# Writes the declared layers, one "name:dependency,dependency" line each, for the layering
# test.
function(frusta_write_core_layers)
  get_property(layers GLOBAL PROPERTY FRUSTA_CORE_LAYERS)
  set(text "")
  foreach(layer IN LISTS layers)
    string(APPEND text "${layer}\n")
  endforeach()
  file(WRITE ${CMAKE_BINARY_DIR}/layers/layers.txt "${text}")
endfunction()
