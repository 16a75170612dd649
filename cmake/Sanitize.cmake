# ORVANE_SANITIZE: everything built with AddressSanitizer and
# UndefinedBehaviorSanitizer, stopping at the first report. With clang the
# code also carries libFuzzer's coverage hooks, so the fuzz targets of the
# same build directory learn from the libraries they call; programs other
# than the fuzz targets ignore them.
set(_orvane_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all)
# Light optimisation and line tables only: quick to build, still fast to run,
# and every report names its file and line.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(_orvane_debug -gline-tables-only)
else()
  set(_orvane_debug -g1)
endif()
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 ${_orvane_debug}" CACHE STRING "" FORCE)
set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O1 ${_orvane_debug}" CACHE STRING "" FORCE)
add_compile_options(${_orvane_sanitizers} -fno-omit-frame-pointer)
add_link_options(${_orvane_sanitizers})
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
