# The further control modules: masked edits, buttons with glyphs, the common controls, menus,
# spin edits, grids and the small extra controls.
target_sources(platform_vcl PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Collections.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Mask.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Buttons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComCtrls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExtCtrls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Grids.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Menus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Spin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommonCtrls.cpp)
target_link_libraries(platform_vcl PUBLIC platform_vcl_mask)
