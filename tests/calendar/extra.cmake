# The calendar writer's test parses the .ics files it writes with libical.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(LIBICAL QUIET IMPORTED_TARGET libical)
endif()
if(TARGET PkgConfig::LIBICAL AND TARGET tst_CalendarWriter)
  target_link_libraries(tst_CalendarWriter PRIVATE PkgConfig::LIBICAL)
  target_compile_definitions(tst_CalendarWriter PRIVATE QUORVEX_HAVE_LIBICAL)
endif()
