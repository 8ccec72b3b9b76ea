# Builds the two layer probes of BUILD_DIR: the downward include must compile,
# and the upward one must fail because the header is out of reach (not for any
# other reason, such as a missing target).
function(build_probe name result_var output_var)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target norv_layer_probe_${name}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${result_var} ${result} PARENT_SCOPE)
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

build_probe(downward result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "An include from a lower layer did not build:\n${output}")
endif()

build_probe(upward result output)
if(result EQUAL 0)
  message(FATAL_ERROR "An include from a higher layer built; the layers do not hold")
endif()
# GCC says "No such file or directory", clang "file not found".
if(NOT output MATCHES "acquisition/check_run\\.h.*(No such file or directory|file not found)")
  message(FATAL_ERROR "The upward include failed, but not for want of the header:\n${output}")
endif()
message(STATUS "The upward include was refused")
