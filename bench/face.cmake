# The face's render pass: what a snapshot costs the header and the limit card when nothing they
# show changed, when the status changes, and what painting the header costs.
#   build/<dir>/bench/face_render_bench
include(${CMAKE_CURRENT_LIST_DIR}/support.cmake)
add_executable(face_render_bench ${CMAKE_CURRENT_LIST_DIR}/face_render_bench.cpp)
target_link_libraries(face_render_bench PRIVATE tavu_view tavu_model Qt6::Widgets
    tavu_bench_support)
