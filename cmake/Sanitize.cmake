# ORVANE_SANITIZE: everything built with AddressSanitizer and
# UndefinedBehaviorSanitizer, stopping at the first report. With clang the
# code also carries libFuzzer's coverage hooks, so the fuzz targets of the
# same build directory learn from the libraries they call; programs other
# than the fuzz targets ignore them.
set(_orvane_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all)
add_compile_options(${_orvane_sanitizers} -fno-omit-frame-pointer)
add_link_options(${_orvane_sanitizers})
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
