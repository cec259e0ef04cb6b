# find_package(Orvex) for the Orvex SDK: the imported target Orvex::Orvex for
# the program's architecture (x86 or x64), with the header, the import library
# of the toolchain in use (Orvex.lib for the Microsoft toolchain and
# compatible ones, libOrvex.dll.a for MinGW) and Orvex.dll, whose path is also
# in Orvex_DLL for copying it beside the program.
get_filename_component(_orvex_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_orvex_arch x64)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_orvex_arch x86)
else()
  set(Orvex_FOUND FALSE)
  set(Orvex_NOT_FOUND_MESSAGE "Orvex: enable the C or C++ language before find_package(Orvex)")
  return()
endif()

if(MSVC OR CMAKE_C_SIMULATE_ID STREQUAL "MSVC" OR CMAKE_CXX_SIMULATE_ID STREQUAL "MSVC")
  set(_orvex_implib "${_orvex_prefix}/lib/${_orvex_arch}/Orvex.lib")
else()
  set(_orvex_implib "${_orvex_prefix}/lib/${_orvex_arch}/libOrvex.dll.a")
endif()
set(Orvex_DLL "${_orvex_prefix}/bin/${_orvex_arch}/Orvex.dll")
set(Orvex_INCLUDE_DIR "${_orvex_prefix}/include")

foreach(_orvex_file "${Orvex_DLL}" "${_orvex_implib}" "${Orvex_INCLUDE_DIR}/Orvex.h")
  if(NOT EXISTS "${_orvex_file}")
    set(Orvex_FOUND FALSE)
    set(Orvex_NOT_FOUND_MESSAGE "Orvex: ${_orvex_file} is missing")
    return()
  endif()
endforeach()

if(NOT TARGET Orvex::Orvex)
  add_library(Orvex::Orvex SHARED IMPORTED)
  set_target_properties(Orvex::Orvex PROPERTIES
    IMPORTED_LOCATION "${Orvex_DLL}"
    IMPORTED_IMPLIB "${_orvex_implib}"
    INTERFACE_INCLUDE_DIRECTORIES "${Orvex_INCLUDE_DIR}")
endif()
unset(_orvex_prefix)
unset(_orvex_arch)
unset(_orvex_implib)
unset(_orvex_file)
