# Makes the Debian package in STAGE as `cmake --build build --target package` does and fails
# on any lintian error or warning but initial-upload-closes-no-bugs, which every package has
# until its changelog closes a bug of the Debian archive.
file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND ${CPACK} --config "${BUILD_DIR}/CPackConfig.cmake" -B "${STAGE}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB debs "${STAGE}/*.deb")
if(NOT rc EQUAL 0 OR NOT debs)
  message(FATAL_ERROR "cpack made no package (${rc}):\n${out}\n${err}")
endif()
execute_process(COMMAND ${LINTIAN} --tag-display-limit 0 ${debs}
                OUTPUT_VARIABLE report ERROR_VARIABLE lintian_err)
string(REGEX MATCHALL "(^|\n)[EW]: [^\n]*" tags "${report}")
set(bad)
foreach(tag IN LISTS tags)
  if(NOT tag MATCHES "initial-upload-closes-no-bugs")
    string(APPEND bad "${tag}")
  endif()
endforeach()
file(REMOVE_RECURSE "${STAGE}")
if(bad)
  message(FATAL_ERROR "lintian finds:${bad}")
endif()
