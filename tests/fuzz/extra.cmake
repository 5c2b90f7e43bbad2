# The corpus replay checks the properties the libFuzzer targets of tools/fuzz check.
if(TARGET tst_ReaderCorpora)
  target_sources(tst_ReaderCorpora PRIVATE ${CMAKE_SOURCE_DIR}/tools/fuzz/ReaderProperties.cpp)
endif()
