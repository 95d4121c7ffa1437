# Makes the release package in a build folder and SHA256SUMS beside it:
# cmake -DBUILD=<build folder> -DVERSION=<version> [-DCONFIG=Release] -P make_package.cmake
# CONFIG names the configuration of a multi-configuration build (Visual Studio).
set(config_option)
if(CONFIG)
  set(config_option -C "${CONFIG}")
endif()
execute_process(COMMAND "${CMAKE_CPACK_COMMAND}" -G ZIP ${config_option} WORKING_DIRECTORY "${BUILD}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${status}")
endif()
set(name "Linguarde-${VERSION}-win64.zip")
file(SHA256 "${BUILD}/${name}" sum)
# The format of sha256sum, which `sha256sum -c SHA256SUMS` checks.
file(WRITE "${BUILD}/SHA256SUMS" "${sum}  ${name}\n")
