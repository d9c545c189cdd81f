# The language picker with 1,000 languages per column: opening it and one typed search character
# (medians; targets 30 ms and 10 ms). Build in a Release directory to measure:
#   build/<dir>/bench/pickers_bench
include(${CMAKE_CURRENT_LIST_DIR}/support.cmake)
add_executable(pickers_bench ${CMAKE_CURRENT_LIST_DIR}/pickers_bench.cpp)
target_link_libraries(pickers_bench PRIVATE tavu_view tavu_model Qt6::Widgets Qt6::Test
    tavu_bench_support)
