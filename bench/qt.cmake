# The first show of a form with its Qt views (offscreen).
add_executable(bench_qt qt_bench.cpp)
target_link_libraries(bench_qt PRIVATE bench_form platform_vcl_qt benchmark::benchmark)
