target_sources(platform_rtl PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FloatFormat.cpp)
