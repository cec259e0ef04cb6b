# The SDK as a client gets it, for one architecture (run by the tests of
# tests/sdk): the archive under DIST is unpacked into WORK, then
#   CHECK=example  the example is configured from the unpacked SDK with
#                  find_package(Orvex), built and run with --click under Wine;
#   CHECK=msvc     a C client is compiled, linked by LLVM's Microsoft-compatible
#                  linker (lld-link) against the SDK's Orvex.lib alone, and run;
#   CHECK=symbols  gdb finds no lines in the stripped Orvex.dll, and finds
#                  them once the symbols' archive is unpacked over the SDK;
#   CHECK=document every build block of the unpacked docs/orvex-sdk.md for
#                  this architecture (gcc, lld-link, cmake) is run word for word
#                  in the SDK folder, and the program it built with --click.
# Fails with the reason on the first thing that does not hold.
cmake_minimum_required(VERSION 3.20)
foreach(v DIST VERSION ARCH WORK CHECK SOURCE WINE)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "check_sdk.cmake: ${v} is not set")
  endif()
endforeach()

function(run)
  cmake_parse_arguments(R "" "OUTPUT;DIR" "COMMAND" ${ARGN})
  if(NOT R_DIR)
    set(R_DIR ${WORK})
  endif()
  execute_process(COMMAND ${R_COMMAND} WORKING_DIRECTORY ${R_DIR} RESULT_VARIABLE rc
                  OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 120)
  if(R_OUTPUT)
    string(REPLACE "\r" "" out "${out}")
    set(${R_OUTPUT} "${out}" PARENT_SCOPE)
  endif()
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${R_COMMAND}\n${out}")
  endif()
endfunction()

# What the example prints when it ran and its box was clicked.
set(example_lines "clear 0" "box 1" "filled 1" "cursor 1" "click 1 at 260/240" "clear 4")

function(expect_lines text)
  foreach(line ${ARGN})
    string(FIND "${text}" "${line}\n" at)
    if(at LESS 0)
      message(FATAL_ERROR "missing line \"${line}\" in:\n${text}")
    endif()
  endforeach()
endfunction()

set(archive ${DIST}/Orvex-SDK-${VERSION}.zip)
if(NOT EXISTS ${archive})
  message(FATAL_ERROR "${archive} is missing: build the dist target first")
endif()
set(work ${WORK}/${CHECK}-${ARCH})
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
set(WORK ${work})
run(COMMAND ${CMAKE_COMMAND} -E tar xf ${archive} DIR ${work})
set(sdk ${work}/Orvex-SDK-${VERSION})
if(ARCH STREQUAL x86)
  set(triplet i686-w64-mingw32)
  set(machine x86)
  set(toolchain ${SOURCE}/cmake/mingw-i686.cmake)
else()
  set(triplet x86_64-w64-mingw32)
  set(machine x64)
  set(toolchain ${SOURCE}/cmake/mingw-x86_64.cmake)
endif()

if(CHECK STREQUAL example)
  run(COMMAND ${CMAKE_COMMAND} -S ${sdk}/examples -B ${work}/build -G Ninja
              -DCMAKE_TOOLCHAIN_FILE=${toolchain}
              -DCMAKE_PREFIX_PATH=${sdk} -DCMAKE_BUILD_TYPE=Release)
  run(COMMAND ${CMAKE_COMMAND} --build ${work}/build)
  # The example must have used the unpacked SDK, not anything of the build tree.
  file(STRINGS ${work}/build/CMakeCache.txt found REGEX "^Orvex_DIR:")
  if(NOT found MATCHES "${sdk}/lib/cmake/Orvex")
    message(FATAL_ERROR "find_package(Orvex) did not find the unpacked SDK: ${found}")
  endif()
  run(COMMAND ${WINE} ${work}/build/orvex_example.exe --click DIR ${work}/build OUTPUT out)
  expect_lines("${out}" ${example_lines})
elseif(CHECK STREQUAL msvc)
  find_program(lld_link NAMES lld-link lld-link-14 HINTS /usr/lib/llvm-14/bin REQUIRED)
  find_program(cc NAMES ${triplet}-gcc-posix ${triplet}-gcc REQUIRED)
  # A client without C runtime: its own entry point, system DLLs and Orvex.dll only.
  run(COMMAND ${cc} -c -O1 -ffreestanding -fno-builtin -fno-asynchronous-unwind-tables
              -fno-stack-protector -I${sdk}/include ${SOURCE}/packaging/msvc_client.c
              -o ${work}/msvc_client.obj)
  set(safeseh)
  if(machine STREQUAL x86)
    set(safeseh /safeseh:no)
  endif()
  run(COMMAND ${lld_link} /nologo /machine:${machine} /subsystem:console /entry:ClientMain
              /nodefaultlib ${safeseh} /out:${work}/msvc_client.exe ${work}/msvc_client.obj
              ${sdk}/lib/${ARCH}/Orvex.lib /libpath:/usr/${triplet}/lib libkernel32.a
              libuser32.a)
  file(COPY ${sdk}/bin/${ARCH}/Orvex.dll DESTINATION ${work})
  run(COMMAND ${WINE} ${work}/msvc_client.exe DIR ${work} OUTPUT out)
  expect_lines("${out}" "clear 0" "callback 1" "rectangle 1" "operation 1" "bitmap 2"
               "unknown-id 0" "clear 2" "status 1 41" "status 2 41" "status 1 11"
               "status 1 40" "status 2 40")
elseif(CHECK STREQUAL symbols)
  find_program(gdb NAMES gdb REQUIRED)
  set(probe -nx -batch -iex "set debuginfod enabled off" -ex "info line Orvex_Clear"
            ${sdk}/bin/${ARCH}/Orvex.dll)
  set(found "Line [0-9]+ of \"[^\"]+\" starts at address")
  run(COMMAND ${gdb} ${probe} OUTPUT out)
  if(out MATCHES "${found}")
    message(FATAL_ERROR "the shipped Orvex.dll is not stripped:\n${out}")
  endif()
  run(COMMAND ${CMAKE_COMMAND} -E tar xf ${DIST}/Orvex-SDK-${VERSION}-symbols.zip DIR ${work})
  run(COMMAND ${gdb} ${probe} OUTPUT out)
  if(NOT out MATCHES "${found}")
    message(FATAL_ERROR "gdb found no lines through the debug link:\n${out}")
  endif()
elseif(CHECK STREQUAL document)
  # A block is marked by the line "<!-- sdk-build: <way> <arch> <program> -->"
  # right before its ```sh fence; the block ends at the closing fence.
  file(READ ${sdk}/docs/orvex-sdk.md doc)
  set(marker "<!-- sdk-build: ")
  set(ways)
  string(FIND "${doc}" "${marker}" at)
  while(at GREATER_EQUAL 0)
    string(SUBSTRING "${doc}" ${at} -1 doc)
    if(NOT doc MATCHES "^<!-- sdk-build: ([^ ]+) ([^ ]+) ([^ ]+) -->\n```sh\n")
      string(SUBSTRING "${doc}" 0 200 near)
      message(FATAL_ERROR "a build marker without its ```sh block:\n${near}")
    endif()
    set(way ${CMAKE_MATCH_1})
    set(block_arch ${CMAKE_MATCH_2})
    set(program ${CMAKE_MATCH_3})
    string(LENGTH "${CMAKE_MATCH_0}" head)
    string(SUBSTRING "${doc}" ${head} -1 doc)
    string(FIND "${doc}" "\n```\n" end)
    if(end LESS 0)
      message(FATAL_ERROR "the ${way} ${block_arch} block has no closing fence")
    endif()
    math(EXPR end "${end} + 1")
    string(SUBSTRING "${doc}" 0 ${end} block)
    if(block_arch STREQUAL ARCH)
      if(way IN_LIST ways)
        message(FATAL_ERROR "two ${way} blocks for ${ARCH}")
      endif()
      list(APPEND ways ${way})
      file(WRITE ${work}/${way}.sh "${block}")
      message(STATUS "${way} (${ARCH}):\n${block}")
      run(COMMAND bash -e ${work}/${way}.sh DIR ${sdk})
      if(NOT EXISTS ${sdk}/${program})
        message(FATAL_ERROR "the ${way} block did not build ${program}")
      endif()
      get_filename_component(program_dir ${sdk}/${program} DIRECTORY)
      run(COMMAND ${WINE} ${sdk}/${program} --click DIR ${program_dir} OUTPUT out)
      expect_lines("${out}" ${example_lines})
    endif()
    string(FIND "${doc}" "${marker}" at)
  endwhile()
  foreach(way gcc lld-link cmake)
    if(NOT way IN_LIST ways)
      message(FATAL_ERROR "docs/orvex-sdk.md has no ${way} block for ${ARCH}")
    endif()
  endforeach()
else()
  message(FATAL_ERROR "check_sdk.cmake: unknown CHECK ${CHECK}")
endif()
message(STATUS "${CHECK} (${ARCH}): passed")
