# quorvel_sanitizer_environment(): in a sanitizer build, every test of the
# calling directory runs with the project's LeakSanitizer suppressions, so
# that the program started by an end-to-end test excuses the same library
# allocations as the unit tests do.
function(quorvel_sanitizer_environment)
  if(NOT QUORVEL_SANITIZE)
    return()
  endif()
  get_property(names DIRECTORY PROPERTY TESTS)
  if(names)
    set_property(TEST ${names} APPEND PROPERTY ENVIRONMENT
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizer/lsan.supp:print_suppressions=0")
  endif()
endfunction()
