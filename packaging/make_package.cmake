# Makes the release package in a build folder and SHA256SUMS beside it:
# cmake -DBUILD=<build folder> -DVERSION=<version> -P make_package.cmake
execute_process(COMMAND "${CMAKE_CPACK_COMMAND}" -G ZIP WORKING_DIRECTORY "${BUILD}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${status}")
endif()
set(name "Linguarde-${VERSION}-win64.zip")
file(SHA256 "${BUILD}/${name}" sum)
# The format of sha256sum, which `sha256sum -c SHA256SUMS` checks.
file(WRITE "${BUILD}/SHA256SUMS" "${sum}  ${name}\n")
