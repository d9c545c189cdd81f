# The captions' cost per snapshot as the history grows, and peak memory with 10,000 cards.
# Build in a Release directory to measure:
#   build/<dir>/bench/captions_bench            the table
#   build/<dir>/bench/captions_bench --memory   peak resident memory
add_executable(captions_bench ${CMAKE_CURRENT_LIST_DIR}/captions_bench.cpp)
target_link_libraries(captions_bench PRIVATE tavu_view tavu_model tavu_wire Qt6::Widgets)
