add_executable(bench_db ${CMAKE_CURRENT_LIST_DIR}/db_bench.cpp)
target_link_libraries(bench_db PRIVATE platform_db benchmark::benchmark benchmark::benchmark_main)
