# Writes a module-definition file naming the C interface's exports, read from
# the export table of the built DLL, as a module's build would make one:
#   cmake -DOBJDUMP=... -DIMAGE=...dll -DOUTPUT=...def -P def_from_dll.cmake
execute_process(COMMAND ${OBJDUMP} -p ${IMAGE} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${IMAGE} failed: ${status}")
endif()
string(REGEX MATCHALL "TsEnC_[A-Za-z]+" entries "${dump}")
list(REMOVE_DUPLICATES entries)
list(LENGTH entries count)
if(count EQUAL 0)
  message(FATAL_ERROR "${IMAGE} exports no C interface")
endif()
get_filename_component(name ${IMAGE} NAME)
list(JOIN entries "\n  " exports)
file(WRITE ${OUTPUT} "LIBRARY ${name}\nEXPORTS\n  ${exports}\n")
