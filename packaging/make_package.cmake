# Makes the release package in a build folder and SHA256SUMS beside it:
# cmake -DBUILD=<build folder> -DVERSION=<version> [-DCONFIG=Release] -P make_package.cmake
# CONFIG names the configuration of a multi-configuration build (Visual Studio). The zip's
# bytes depend only on the files packed: sorted entries, each dated by the commit
# (SOURCE_DATE_EPOCH if set), mode 0644, no owner.
get_filename_component(source "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(bin "${BUILD}/bin")
if(CONFIG AND IS_DIRECTORY "${BUILD}/bin/${CONFIG}")
  set(bin "${BUILD}/bin/${CONFIG}")
endif()
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C "${source}" log -1 --format=%ct OUTPUT_VARIABLE epoch
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "no commit to date the package by: set SOURCE_DATE_EPOCH")
  endif()
endif()
find_program(python NAMES python3 python REQUIRED)
set(top "Linguarde-${VERSION}-win64")
set(name "${top}.zip")
execute_process(COMMAND "${python}" "${source}/packaging/make_zip.py" "${BUILD}/${name}" "${epoch}"
                        "${top}" "${source}/LICENSE" "${BUILD}/LISEZMOI.txt" "${bin}/Linguarde.exe"
                        "${bin}/Tressol.exe"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the package could not be made: ${status}")
endif()
file(SHA256 "${BUILD}/${name}" sum)
# The format of sha256sum, which `sha256sum -c SHA256SUMS` checks.
file(WRITE "${BUILD}/SHA256SUMS" "${sum}  ${name}\n")
