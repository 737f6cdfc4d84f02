# One library per source folder, named quillon_<folder>, its headers reached
# from src/ ("dictionary/InputEngine.h"), built with the project's warnings.
function(quillon_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${QUILLON_WARNINGS})
endfunction()
