# Delay-loaded system DLLs: an executable whose ZANDREL_DELAY_LOAD property is
# on loads them at the first call into them instead of at its start, so that
# the start does not wait for DLLs (and their own dependencies and registry
# reads) that its first window does not use.
#
# GNU ld links no delay imports itself, but dlltool makes a delay-import
# library from a definition file, and the runtime (libmingwex) brings the
# helper that loads the DLL at the first call. The definition file lists every
# function of the regular import library, read with nm at build time.
#
# A delay import's address slot starts out pointing into its call thunk, but
# ld drops every import thunk that no code calls by name (our calls go through
# the slots): the slot would hold 0. So the delay library is linked through a
# small linker script that names every thunk as wanted (EXTERN) and then reads
# the library; the thunks of functions never called cost some 50 bytes each.
#
# Included: zandrel_delay_import(<var> <lib>) sets <var> to the link items for
# <lib>: its delay library on an executable that asks for it, then the regular
# library (which then contributes nothing, and serves every other target).
# Run with -P: writes the definition file and the linker script,
# -DLIB=<import library> -DDEF=<definition file> -DLD=<linker script>
# -DDELAYLIB=<delay library>.

if(CMAKE_SCRIPT_MODE_FILE)
  execute_process(COMMAND ${NM} ${LIB} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  # An import library defines each function twice: the call thunk _Name@N
  # (T) and its address slot __imp__Name@N (I). A name with no thunk is data,
  # which cannot be delayed: the regular library keeps it.
  string(REGEX MATCHALL "[^\n]* I __imp__[^\n]*" slots "${symbols}")
  set(exports "EXPORTS\n")
  set(thunks "EXTERN(\n")
  foreach(slot ${slots})
    string(REGEX REPLACE ".* I __imp__" "" name "${slot}")
    string(FIND "${symbols}" " T _${name}\n" thunk)
    if(NOT thunk EQUAL -1)
      string(APPEND exports "${name}\n")
      string(APPEND thunks "  \"_${name}\"\n")
    endif()
  endforeach()
  file(WRITE ${DEF} "${exports}")
  file(WRITE ${LD} "${thunks})\nINPUT(\"${DELAYLIB}\")\n")
  return()
endif()

set(ZANDREL_DELAY_IMPORTS_DIR ${CMAKE_BINARY_DIR}/delayimp)

function(zandrel_delay_import var lib)
  find_library(ZANDREL_IMPORT_${lib} NAMES lib${lib}.a REQUIRED)
  set(dir ${ZANDREL_DELAY_IMPORTS_DIR})
  set(def ${dir}/${lib}.def)
  set(delaylib ${dir}/lib${lib}_delay.a)
  set(script ${dir}/lib${lib}_delay.ld)
  # -k: the DLL exports the names without their @N. The library is named
  # without its folder: dlltool prefixes every symbol it makes with that name.
  add_custom_command(
    OUTPUT ${delaylib} ${script}
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DLIB=${ZANDREL_IMPORT_${lib}} -DDEF=${def}
            -DLD=${script} -DDELAYLIB=${delaylib} -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    COMMAND ${CMAKE_DLLTOOL} -k -d ${lib}.def -y lib${lib}_delay.a -D ${lib}.dll
    DEPENDS ${ZANDREL_IMPORT_${lib}} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    WORKING_DIRECTORY ${dir}
    COMMENT "Making the delay-import library of ${lib}.dll"
    VERBATIM)
  file(MAKE_DIRECTORY ${dir})
  add_custom_target(${lib}_delay DEPENDS ${delaylib} ${script})
  set(${var} $<$<BOOL:$<TARGET_PROPERTY:ZANDREL_DELAY_LOAD>>:${script}> ${lib} PARENT_SCOPE)
endfunction()
