# One static library per source folder; every .cpp in the folder belongs to it,
# so adding a unit needs no edit here. LIBS are the layers below it (see README).
function(qf_folder_library target)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(ex ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "${ex}")
  endforeach()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_LIBS})
endfunction()

# qf_add_test(<Name>Test LIBS <libs...>) in tests/<folder>/CMakeLists.txt builds
# tests/<folder>/<Name>Test.cpp as <folder>_<Name>Test with the shared test main
# and exactly the libraries named, and registers it with CTest.
function(qf_add_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(target ${folder}_${name})
  add_executable(${target} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
  target_link_libraries(${target} PRIVATE qf_testmain ${ARG_LIBS})
  # Tests on the instruments layer or above may talk to the simulated
  # instrument; the linker takes it only when they do.
  if(ARG_LIBS MATCHES "qf_(instruments|documents|dataprocessing|designer|revisionlist)")
    target_link_libraries(${target} PRIVATE qf_testsimulator)
  endif()
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES
    TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${QF_TESTS_DIR}/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()

# qf_add_screen_runs(<target> [FILTER <gtest filter>]) runs a test executable
# again on each laptop screen of tests/screens/, whose offscreen platform
# frames no window, as the tests <target>_<screen>.
function(qf_add_screen_runs target)
  cmake_parse_arguments(ARG "" "FILTER" "" ${ARGN})
  set(filter)
  if(ARG_FILTER)
    set(filter --gtest_filter=${ARG_FILTER})
  endif()
  foreach(screen 1366x768 1024x768)
    add_test(NAME ${target}_${screen} COMMAND ${target} ${filter})
    set_tests_properties(${target}_${screen} PROPERTIES
      TIMEOUT 300
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${QF_TESTS_DIR}/screens/${screen}.json;ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${QF_TESTS_DIR}/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  endforeach()
endfunction()

# qf_add_fuzz(<Name>Fuzz LIBS <libs...>) in fuzz/CMakeLists.txt builds
# fuzz/<Name>Fuzz.cpp as the libFuzzer target fuzz_<Name>Fuzz; its seeds are in
# fuzz/corpus/<Name>Fuzz/.
function(qf_add_fuzz name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(fuzz_${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
  target_link_libraries(fuzz_${name} PRIVATE ${ARG_LIBS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# qf_add_bench(<name> LIBS <libs...>) in bench/CMakeLists.txt builds bench/<name>.cpp
# as bench_<name>, a program with its own main that prints its timings. Benchmarks
# are built in release builds only.
function(qf_add_bench name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(bench_${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
  target_link_libraries(bench_${name} PRIVATE ${ARG_LIBS})
endfunction()
