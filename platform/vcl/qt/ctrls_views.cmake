# Views of the further control modules. An object library, linked as objects into every user
# of the views, so that its registration at load time is never dropped by the archiver.
add_library(platform_vcl_qt_ctrls OBJECT ${CMAKE_CURRENT_LIST_DIR}/QtCtrlsViews.cpp)
target_link_libraries(platform_vcl_qt_ctrls PUBLIC platform_vcl Qt6::Widgets)
target_sources(platform_vcl_qt INTERFACE $<TARGET_OBJECTS:platform_vcl_qt_ctrls>)
