# Every target of ours is built with warnings as errors, on GCC, Clang and MSVC alike.
function(linguarde_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /utf-8 /permissive-)
    # The C runtime's portable calls (getenv…), not its _s variants.
    target_compile_definitions(${target} PRIVATE _CRT_SECURE_NO_WARNINGS)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -pedantic)
  endif()
endfunction()

# Windows programs: Unicode API only, and a single self-contained executable.
# WIDE_ENTRY: the program starts at wmain or wWinMain. SHIPPED: one of the two programs we
# release, optimised across its files at the link (see linguarde_small).
function(linguarde_windows_program target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "WIDE_ENTRY;SHIPPED" "" "")
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
  if(MINGW)
    # Sections that nothing reaches are left out of a release; no time stamp in the PE
    # header, which would make each build's bytes its own.
    target_link_options(${target} PRIVATE -static -Wl,--no-insert-timestamp
                        $<$<CONFIG:Release>:-s -Wl,--gc-sections>)
    if(ARG_WIDE_ENTRY)
      target_link_options(${target} PRIVATE -municode)
    endif()
    # One partition: GCC 12's MinGW build fails inside its symbol table when the program is
    # split across several.
    if(ARG_SHIPPED)
      target_link_options(${target} PRIVATE $<$<CONFIG:Release>:-flto=auto -flto-partition=one -Os>)
    else()
      # A test links the objects' own code: GCC would otherwise optimise their intermediate
      # code again, at length, at each test's link.
      target_link_options(${target} PRIVATE $<$<CONFIG:Release>:-fno-lto>)
    endif()
  elseif(MSVC)
    set_property(TARGET ${target} PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  endif()
endfunction()

# Code that is cold, which is most of both programs, built for size in a release: they stay
# small downloads. MSVC keeps its one level (it warns when a level is overridden). For
# Windows, the objects also carry GCC's intermediate code, which the two programs' links
# optimise as a whole, while the tests link the objects' own code.
function(linguarde_small target)
  target_compile_options(${target} PRIVATE
    $<$<AND:$<CONFIG:Release>,$<NOT:$<CXX_COMPILER_ID:MSVC>>>:-Os -ffunction-sections -fdata-sections>)
  if(MINGW)
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-flto=auto -ffat-lto-objects>)
  endif()
endfunction()
