# Writes the release tree and its archives (run by the `dist` target).
# Every shipped program file is stripped and names its debug information,
# <file>.dbg, by a debug link. The card's stays in symbols/; the DLLs' goes
# to Orvex-SDK-<version>-symbols.zip, which holds Orvex-SDK-<version>/bin/<arch>/
# Orvex.dll.dbg: unpacked over the SDK, each lands beside its DLL, where a
# debugger looks for it.
# Fails when a shipped program file is larger than 1 MiB.
cmake_minimum_required(VERSION 3.20)
foreach(v VERSION SOURCE OUT CARD X86_DIR X64_DIR CONFIG_VERSION PYTHON)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "make_dist.cmake: ${v} is not set")
  endif()
endforeach()

set(max_size 1048576)
set(card_dir ${OUT}/Frostvale-Karte-${VERSION})
set(sdk_dir ${OUT}/Orvex-SDK-${VERSION})
set(symbols ${OUT}/symbols)
set(sdk_symbols ${OUT}/Orvex-SDK-${VERSION}-symbols)
file(REMOVE_RECURSE ${card_dir} ${sdk_dir} ${symbols} ${sdk_symbols} ${card_dir}.zip ${sdk_dir}.zip
     ${sdk_symbols}.zip)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "make_dist.cmake: failed (${rc}): ${ARGN}")
  endif()
endfunction()

# ship(<toolchain prefix> <built file> <destination directory> <symbols directory> [<shipped name>])
# The debug file is named <file>.dbg: "<program>.debug" beside a program is the
# library's debug marker and must never be made by the build.
function(ship prefix file dest dbgdir)
  find_program(objcopy NAMES ${prefix}-objcopy REQUIRED NO_CACHE)
  get_filename_component(name ${file} NAME)
  if(ARGC GREATER 4)
    set(name ${ARGV4})
  endif()
  file(MAKE_DIRECTORY ${dest} ${dbgdir})
  # objcopy stamps a PE header with the time of the copy unless
  # SOURCE_DATE_EPOCH names one: 0 keeps the link's "no time".
  set(objcopy ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${objcopy})
  run(${objcopy} --only-keep-debug ${file} ${dbgdir}/${name}.dbg)
  run(${objcopy} --strip-all --add-gnu-debuglink=${dbgdir}/${name}.dbg ${file} ${dest}/${name})
  file(SIZE ${dest}/${name} size)
  file(SIZE ${file} built)
  file(RELATIVE_PATH shown ${OUT} ${dest}/${name})
  message(STATUS "dist: ${shown}: ${size} bytes (built ${built})")
  if(size GREATER max_size)
    message(FATAL_ERROR "dist: ${shown} is larger than 1 MiB")
  endif()
endfunction()

# The card: one program file for 32-bit Windows, which every Windows runs,
# and one for 64-bit Windows, for a Wine that runs 64-bit programs only.
ship(i686-w64-mingw32 ${CARD} ${card_dir} ${symbols})
if(NOT EXISTS ${X64_DIR}/bin/Frostvale-Karte.exe)
  message(FATAL_ERROR "make_dist.cmake: ${X64_DIR}/bin/Frostvale-Karte.exe is missing")
endif()
ship(x86_64-w64-mingw32 ${X64_DIR}/bin/Frostvale-Karte.exe ${card_dir} ${symbols}
     Frostvale-Karte-x64.exe)

# The SDK.
foreach(arch x86 x64)
  if(arch STREQUAL x86)
    set(prefix i686-w64-mingw32)
    set(dir ${X86_DIR})
  else()
    set(prefix x86_64-w64-mingw32)
    set(dir ${X64_DIR})
  endif()
  if(NOT EXISTS ${dir}/bin/Orvex.dll)
    message(FATAL_ERROR "make_dist.cmake: ${dir}/bin/Orvex.dll is missing")
  endif()
  ship(${prefix} ${dir}/bin/Orvex.dll ${sdk_dir}/bin/${arch}
       ${sdk_symbols}/Orvex-SDK-${VERSION}/bin/${arch})
  file(COPY ${dir}/lib/libOrvex.dll.a ${dir}/lib/Orvex.lib DESTINATION ${sdk_dir}/lib/${arch})
endforeach()
file(COPY ${SOURCE}/overlay_api/Orvex.h DESTINATION ${sdk_dir}/include)
file(COPY ${SOURCE}/packaging/OrvexConfig.cmake ${CONFIG_VERSION}
     DESTINATION ${sdk_dir}/lib/cmake/Orvex)
file(COPY ${SOURCE}/docs/orvex-sdk.md DESTINATION ${sdk_dir}/docs)
file(COPY ${SOURCE}/examples/CMakeLists.txt ${SOURCE}/examples/orvex_example.c
          ${SOURCE}/examples/mingw-w64-i686.cmake ${SOURCE}/examples/mingw-w64-x86_64.cmake
     DESTINATION ${sdk_dir}/examples)

# The archives, each holding its folder; the symbols' archive holds the
# SDK's folder with the debug files only. Every entry carries one time, the
# SOURCE_DATE_EPOCH of the environment or else the time of the source's last
# commit (a fixed date outside a git checkout), so two builds of one commit
# give the same archives.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${SOURCE} log -1 --format=%ct OUTPUT_VARIABLE epoch
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
    set(epoch 946684800)
  endif()
endif()
foreach(dir ${card_dir} ${sdk_dir} ${sdk_symbols})
  get_filename_component(name ${dir} NAME)
  if("${dir}" STREQUAL "${sdk_symbols}")
    set(inside ${sdk_symbols})
    set(content Orvex-SDK-${VERSION})
  else()
    set(inside ${OUT})
    set(content ${name})
  endif()
  run(${PYTHON} ${SOURCE}/packaging/zip_folder.py ${OUT}/${name}.zip ${epoch} ${inside} ${content})
  file(SIZE ${dir}.zip size)
  message(STATUS "dist: ${name}.zip: ${size} bytes")
endforeach()
