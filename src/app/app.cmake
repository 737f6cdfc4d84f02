# The Win32 application: its sources go into quillon_app (shared with the GUI
# tests); Quillon.exe is WinMain plus the resources, which must be linked into
# the executable itself (the linker drops resource objects from a library).
if(WIN32)
  target_sources(quillon_app PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AppContext.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HelpEngine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HelpHook.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OutOfMemory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QuillonAppWindows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Shell.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WordplayFrameWindow.cpp)
  if(TARGET quillon_settings)
    target_link_libraries(quillon_app PUBLIC quillon_settings)
  endif()
  enable_language(RC)
  # The resource compiler finds resource.h and the images beside the script.
  add_executable(Quillon WIN32 ${CMAKE_CURRENT_LIST_DIR}/main.cpp
    ${CMAKE_SOURCE_DIR}/src/resources/Quillon.rc)
  target_compile_options(Quillon PRIVATE ${QUILLON_WARNINGS})
  target_link_libraries(Quillon PRIVATE quillon_app)
  set_target_properties(Quillon PROPERTIES
    OUTPUT_NAME Quillon
    RUNTIME_OUTPUT_DIRECTORY ${QUILLON_DIST_DIR})
endif()
