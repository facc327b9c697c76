# Each layer is one static library built from every .cpp file under its folders, found recursively,
# so adding a class (in any subfolder) needs no edit here. Folders that a build leaves out
# (the other system's side of platform/files) are named with EXCLUDE.
#
#   zozuz_layer(NAME DIRS dir... [EXCLUDE dir...] [DEPENDS target...])
#
# Every layer exports src/ as its include root; which includes are allowed is decided by the
# layering check (cmake/CheckLayers.cmake), which runs as a test.
function(zozuz_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 _arg "" "" "DIRS;EXCLUDE;DEPENDS")
  set(_sources)
  foreach(_dir IN LISTS _arg_DIRS)
    file(GLOB_RECURSE _found CONFIGURE_DEPENDS "${_dir}/*.cpp")
    list(APPEND _sources ${_found})
  endforeach()
  foreach(_dir IN LISTS _arg_EXCLUDE)
    list(FILTER _sources EXCLUDE REGEX "^${_dir}/")
  endforeach()
  if(_sources)
    add_library(${name} STATIC ${_sources})
    set(_scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(_scope INTERFACE)
  endif()
  target_include_directories(${name} ${_scope} "${PROJECT_SOURCE_DIR}/src")
  if(_arg_DEPENDS)
    target_link_libraries(${name} ${_scope} ${_arg_DEPENDS})
  endif()
endfunction()

# Every *_<suffix>.cpp file under DIR, recursively, except under the folders given with EXCLUDE.
function(zozuz_glob_executables out dir suffix)
  cmake_parse_arguments(PARSE_ARGV 3 _arg "" "" "EXCLUDE")
  file(GLOB_RECURSE _files CONFIGURE_DEPENDS "${dir}/*_${suffix}.cpp")
  foreach(_skip IN LISTS _arg_EXCLUDE)
    list(FILTER _files EXCLUDE REGEX "^${_skip}/")
  endforeach()
  set(${out} ${_files} PARENT_SCOPE)
endfunction()

# One test executable per *_test.cpp file, so a test file that is being written breaks only itself.
# Test names are unique across folders because class names are.
function(zozuz_tests dir)
  cmake_parse_arguments(PARSE_ARGV 1 _arg "" "" "EXCLUDE;LINK")
  zozuz_glob_executables(_tests "${dir}" test EXCLUDE ${_arg_EXCLUDE})
  foreach(_file IN LISTS _tests)
    get_filename_component(_name "${_file}" NAME_WE)
    add_executable(${_name} "${_file}")
    target_link_libraries(${_name} PRIVATE ${_arg_LINK} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${_name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endforeach()
endfunction()
