# The settings store: portable text encodings, the store interface with its
# in-memory form, the per-window accessors and the help-page table; on Windows
# also the registry store (into quillon_app).
add_library(quillon_settings STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SettingsText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsAccessor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpPages.cpp)
target_include_directories(quillon_settings PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(quillon_settings PRIVATE ${QUILLON_WARNINGS})
target_link_libraries(quillon_engine INTERFACE quillon_settings)

if(WIN32)
  target_sources(quillon_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Persist.cpp)
  target_link_libraries(quillon_app PUBLIC advapi32)
endif()
