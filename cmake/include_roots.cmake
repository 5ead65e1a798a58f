# Include roots: which source folders a target may include from.
#
# Sources name project headers by folder ("runtime/window.h"), so the
# repository root as an include directory would show every folder to every
# target. Instead each folder F gets a directory of its own in the build tree,
# folders/F, holding one link F to the source folder; a target gets the
# directories of the folders it may use and no others, so an include of any
# other folder is not found and the build fails.
set(KORVO_FOLDER_ROOTS ${CMAKE_BINARY_DIR}/folders)

# The include directory that shows `folder`: the public headers' directory
# for "korvogui", else folders/<folder>.
function(korvo_folder_root folder out)
  if(folder STREQUAL "korvogui")
    set(${out} ${CMAKE_SOURCE_DIR}/include PARENT_SCOPE)
    return()
  endif()
  if(NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/${folder})
    message(FATAL_ERROR "include roots: no source folder '${folder}'")
  endif()
  set(root ${KORVO_FOLDER_ROOTS}/${folder})
  if(NOT IS_SYMLINK ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# korvo_target_folders(TARGET PRIVATE|PUBLIC|INTERFACE FOLDER...): TARGET (and,
# for PUBLIC and INTERFACE, its consumers in this build) may include the
# headers of these folders.
function(korvo_target_folders target scope)
  set(dirs)
  foreach(folder ${ARGN})
    korvo_folder_root(${folder} dir)
    list(APPEND dirs $<BUILD_INTERFACE:${dir}>)
  endforeach()
  target_include_directories(${target} ${scope} ${dirs})
endfunction()

# korvo_module_layer(NAME FOLDER folder [BELOW layer...] [USES folder...] SOURCES file...):
# one layer of the module, an object library with hidden visibility. Its
# sources see its own folder, the folders the layers BELOW it see (defined
# before it) and the folders it USES outside the module, and nothing else:
# never a layer above or beside it. Its objects go into libkorvogui.so and
# korvogui_core.
function(korvo_module_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "FOLDER" "BELOW;USES;SOURCES")
  set(folders ${LAYER_FOLDER})
  foreach(below ${LAYER_BELOW})
    if(NOT TARGET ${below})
      message(FATAL_ERROR "layer ${name}: ${below} must be a layer defined before it")
    endif()
    get_target_property(below_folders ${below} KORVO_LAYER_FOLDERS)
    list(APPEND folders ${below_folders})
  endforeach()
  list(APPEND folders ${LAYER_USES})
  list(REMOVE_DUPLICATES folders)
  add_library(${name} OBJECT ${LAYER_SOURCES})
  set_target_properties(${name} PROPERTIES KORVO_LAYER_FOLDERS "${folders}")
  korvo_target_folders(${name} PRIVATE ${folders})
  target_compile_options(${name} PRIVATE -fvisibility=hidden -fvisibility-inlines-hidden)
  target_link_libraries(${name} PRIVATE korvo_foundation yprofile)
  set_property(GLOBAL APPEND PROPERTY KORVO_MODULE_LAYERS ${name})
endfunction()
