# The install test installs this build into a prefix of its own with the build's cmake.
if(TARGET tst_Install)
  add_dependencies(tst_Install quorvex)
  target_compile_definitions(tst_Install PRIVATE QUORVEX_CMAKE_COMMAND="${CMAKE_COMMAND}"
                                                 QUORVEX_BUILD_DIR="${CMAKE_BINARY_DIR}")
endif()
