# One interface target carries the language level, the warnings and the Qt strictness defines,
# so every library, program and test is built the same way.
add_library(quorvex_common INTERFACE)
target_compile_features(quorvex_common INTERFACE cxx_std_20)
target_compile_definitions(quorvex_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER
    QT_NO_FOREACH)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(quorvex_common INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
        -Wcast-qual -Wformat=2 -Wimplicit-fallthrough -Wmissing-declarations)
endif()
if(QUORVEX_FUZZ)
    target_compile_options(quorvex_common INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(quorvex_common INTERFACE -fsanitize=address,undefined)
endif()
if(QUORVEX_SANITIZE)
    target_compile_options(quorvex_common INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(quorvex_common INTERFACE -fsanitize=address,undefined)
endif()

# Adds a GoogleTest executable and registers its tests with CTest. WIDGETS gives it a QApplication.
# LABEL is the tier: unit (the default), widget, integration or e2e; `ctest -L unit` runs the
# quick ones. Widget and GUI tests run headless; no test reaches beyond loopback.
function(quorvex_add_test name)
    cmake_parse_arguments(ARG "WIDGETS" "LABEL" "SOURCES;LIBRARIES;PROPERTIES" ${ARGN})
    if(NOT ARG_LABEL)
        set(ARG_LABEL unit)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_WIDGETS)
        set(test_main quorvex_widget_test_main)
    else()
        set(test_main quorvex_test_main)
    endif()
    target_link_libraries(${name} PRIVATE quorvex_common ${test_main} quorvex_test_support GTest::gtest GTest::gmock
        ${ARG_LIBRARIES})
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 30
        PROPERTIES
            LABELS ${ARG_LABEL}
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;no_proxy=*;NO_PROXY=*"
            TIMEOUT 120
            ${ARG_PROPERTIES})
endfunction()
