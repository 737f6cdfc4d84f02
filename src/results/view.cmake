# The results view: its window-free rules join the portable results library;
# the window itself and its drawing go into the application.
target_sources(quillon_results PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ResultsViewState.cpp)
if(WIN32)
  target_sources(quillon_app PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/WordplayViewWindows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WordplayViewDrawing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WordplayViewInput.cpp)
endif()
