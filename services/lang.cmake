# The code-page converter and the language packages; the converter knows the system's own
# components (the lookup edits and, later, the selection panel and the grids).
target_sources(services PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CodeConverter.cpp
                                ${CMAKE_CURRENT_LIST_DIR}/LanguageController.cpp)
target_link_libraries(services PUBLIC components)
