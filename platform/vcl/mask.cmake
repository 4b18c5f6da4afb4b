# Delphi's edit masks: the engine under the masked edit, usable without any control.
add_library(platform_vcl_mask STATIC ${CMAKE_CURRENT_LIST_DIR}/MaskUtils.cpp)
target_link_libraries(platform_vcl_mask PUBLIC platform_rtl)
