# The network against real servers started on loopback by the tests: nginx
# with TLS and HTTP/2 in front of the demo site, tinyproxy with credentials,
# and hostile servers. The list-file tests run the built program.
lumisong_add_test(tst_tlssite SOURCES tst_tlssite.cpp
    LIBRARIES lumisong_net lumisong_testsupport)
foreach(name tst_serverexport tst_hostileservers tst_answerchecks)
    lumisong_add_test(${name} SOURCES ${name}.cpp LIBRARIES lumisong_net lumisong_testsupport)
    target_compile_definitions(${name} PRIVATE LUMISONG_BINARY="$<TARGET_FILE:lumisong>")
    add_dependencies(${name} lumisong)
endforeach()
