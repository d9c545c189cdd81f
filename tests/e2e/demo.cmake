# The demo host: its own logic, and a full run of it against the real helper.
if(TARGET tavu_demo_host_core)
    add_unit_test(NAME demo_host_test SOURCES demo_host_test.cpp LIBS tavu_demo_host_core
        LABELS demo)
endif()
