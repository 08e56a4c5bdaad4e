# One INTERFACE target carries the language level, warnings and Qt hygiene
# switches for every library, tool and test of the project.
add_library(lumisong_options INTERFACE)
add_library(Lumisong::options ALIAS lumisong_options)

target_compile_features(lumisong_options INTERFACE cxx_std_20)
target_compile_options(lumisong_options INTERFACE -Wall -Wextra)
if(LUMISONG_WERROR)
    target_compile_options(lumisong_options INTERFACE -Werror)
endif()
target_compile_definitions(lumisong_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_USE_QSTRINGBUILDER
    QT_DISABLE_DEPRECATED_UP_TO=0x060400
    LUMISONG_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    LUMISONG_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    LUMISONG_VERSION_PATCH=${PROJECT_VERSION_PATCH}
    LUMISONG_VERSION_TEXT="${PROJECT_VERSION}")
target_include_directories(lumisong_options INTERFACE ${PROJECT_SOURCE_DIR})

if(LUMISONG_SANITIZE OR LUMISONG_FUZZ)
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(lumisong_options INTERFACE ${_san})
    target_link_options(lumisong_options INTERFACE ${_san})
endif()
# Fuzzing: every library is built with libFuzzer's coverage hooks; only the
# fuzz programs link libFuzzer itself (tests/fuzz).
if(LUMISONG_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "LUMISONG_FUZZ needs clang: configure with CC=clang CXX=clang++")
    endif()
    target_compile_options(lumisong_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
