# lumisong_add_test(<name> SOURCES <files...> LIBRARIES <targets...> [TIMEOUT <s>])
#
# One QtTest executable, registered with CTest. Every test runs on the
# offscreen platform, with no proxy variables, so loopback requests go direct,
# and with configuration, data and cache folders of its own in the build tree,
# so no test can touch the settings of the user who runs it.
function(lumisong_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    # A test has a source or two: a unity build gains nothing there, and it
    # would turn each test's own file into an included one.
    set_target_properties(${name} PROPERTIES UNITY_BUILD OFF)
    target_link_libraries(${name} PRIVATE Lumisong::options Qt6::Test ${ARG_LIBRARIES})
    add_test(NAME ${name} COMMAND ${name})
    set(_home "${CMAKE_BINARY_DIR}/test-home/${name}")
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;http_proxy=;https_proxy=;HTTP_PROXY=;HTTPS_PROXY=;all_proxy=;ALL_PROXY=;no_proxy=*;NO_PROXY=*;LUMISONG_SOURCE_DIR=${PROJECT_SOURCE_DIR};XDG_CONFIG_HOME=${_home}/config;XDG_DATA_HOME=${_home}/data;XDG_CACHE_HOME=${_home}/cache;XDG_STATE_HOME=${_home}/state")
endfunction()
