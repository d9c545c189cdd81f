# What every widget benchmark shares: a QApplication around Google Benchmark.
include_guard(GLOBAL)
add_library(tavu_bench_support STATIC ${CMAKE_CURRENT_LIST_DIR}/bench_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bench_support.hpp)
target_include_directories(tavu_bench_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tavu_bench_support PUBLIC Qt6::Widgets benchmark::benchmark)
