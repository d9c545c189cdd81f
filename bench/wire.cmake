# Wire benchmarks: strict decoding beside simdjson's raw DOM parse, line framing beside decoding.
# Build in a Release directory to measure:  build/<dir>/bench/wire_bench
add_executable(wire_bench ${CMAKE_CURRENT_LIST_DIR}/wire_bench.cpp)
target_link_libraries(wire_bench PRIVATE tavu_wire simdjson::simdjson benchmark::benchmark)
