# `format` rewrites every C++ file git tracks with the tree's .clang-format; `check-format`
# fails, naming the files, when one is not formatted. scripts/test runs the check.
find_program(CLANG_FORMAT NAMES clang-format clang-format-14)
if(CLANG_FORMAT)
  add_custom_target(format
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/format --fix
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} VERBATIM)
  add_custom_target(check-format
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/format
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} VERBATIM)
endif()
