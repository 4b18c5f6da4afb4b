# Fonts, colours, bitmaps and the canvas over QImage/QPainter; needs no GUI application except
# for drawing and measuring text.
find_package(Qt6 REQUIRED COMPONENTS Gui)
set(CMAKE_AUTOMOC OFF)
add_library(platform_vcl_graphics STATIC ${CMAKE_CURRENT_LIST_DIR}/Graphics.cpp)
target_link_libraries(platform_vcl_graphics PUBLIC platform_rtl Qt6::Gui)
target_precompile_headers(platform_vcl_graphics PRIVATE <QImage> <QPainter>)
