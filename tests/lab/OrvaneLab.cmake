# orvane_add_lab_test(): see the top of tests/lab/CMakeLists.txt.
include_guard(GLOBAL)

set(ORVANE_LAB_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/lab.sh)

function(orvane_add_lab_test)
  cmake_parse_arguments(L "PARALLEL" "NAME;TIMEOUT" "DEVICES;COMMAND;LAB_ARGS;ENV" ${ARGN})
  if(NOT L_NAME OR NOT L_COMMAND)
    message(FATAL_ERROR "orvane_add_lab_test needs NAME and COMMAND")
  endif()
  if(NOT L_TIMEOUT)
    set(L_TIMEOUT 90)
  endif()
  # lab.sh stops the command a little before ctest would kill lab.sh itself,
  # so the teardown always gets to run.
  math(EXPR lab_timeout "${L_TIMEOUT} - 10")
  add_test(NAME lab.${L_NAME}
    COMMAND ${ORVANE_LAB_SCRIPT}
      --devsim $<TARGET_FILE:orvane-devsim>
      --timeout ${lab_timeout}
      ${L_LAB_ARGS}
      ${L_DEVICES}
      -- ${L_COMMAND})
  # Most lab tests measure time or CPU and run alone. PARALLEL: one that only
  # waits (for a time-out, for many scans) and holds no shared resource may
  # run beside others.
  if(L_PARALLEL)
    set(serial FALSE)
  else()
    set(serial TRUE)
  endif()
  set_tests_properties(lab.${L_NAME} PROPERTIES
    LABELS lab
    SKIP_RETURN_CODE 77
    RUN_SERIAL ${serial}
    TIMEOUT ${L_TIMEOUT}
    ENVIRONMENT "${L_ENV}")
endfunction()
