# One library per source folder, named quillon_<folder>, its headers reached
# from src/ ("dictionary/InputEngine.h"), built with the project's warnings.
function(quillon_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${QUILLON_WARNINGS})
endfunction()

# Records the files a custom target puts into the runnable folder, so that the
# installer ships them and is built again whenever one of them changes. (The
# programs built into the folder are found by their output directory.)
function(quillon_runnable_files target)
  set_property(GLOBAL APPEND PROPERTY QUILLON_RUNNABLE_FILES ${ARGN})
  set_property(GLOBAL APPEND PROPERTY QUILLON_RUNNABLE_TARGETS ${target})
endfunction()
