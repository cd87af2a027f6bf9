# Fails unless every DLL that IMAGE imports is a system DLL, so the product
# runs with nothing installed beside it.
#   cmake -DOBJDUMP=... -DIMAGE=... -P check_imports.cmake
set(system_dlls advapi32.dll kernel32.dll msvcrt.dll shell32.dll shlwapi.dll ucrtbase.dll
    user32.dll)

execute_process(COMMAND ${OBJDUMP} -p ${IMAGE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} could not read ${IMAGE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "No import table found in ${IMAGE}")
endif()

set(foreign "")
foreach(line IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" lower)
  list(FIND system_dlls "${lower}" known)
  if(known EQUAL -1 AND NOT lower MATCHES "^api-ms-win-crt-")
    list(APPEND foreign "${dll}")
  endif()
  message(STATUS "imports ${dll}")
endforeach()
if(foreign)
  message(FATAL_ERROR "${IMAGE} needs DLLs that are not part of the system: ${foreign}")
endif()
