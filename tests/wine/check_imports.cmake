# cmake -DOBJDUMP=... -DIMAGE=... -DEXPORTS=exports.def -P check_imports.cmake:
# fails unless IMAGE exports exactly the names of EXPORTS and imports only
# system DLLs, so the product needs nothing installed beside it, and no
# function that reads the environment.
execute_process(COMMAND ${OBJDUMP} -p ${IMAGE} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n([ \t]*\\[[^\n]*\n)*" table "${dump}")
string(REGEX MATCHALL "[^ \t\n]+\n" exported "${table}")
list(REMOVE_AT exported 0)
list(TRANSFORM exported STRIP)
list(SORT exported)
file(STRINGS ${EXPORTS} listed REGEX "^(TsEn|_Z)")
list(SORT listed)
if(NOT exported STREQUAL listed)
  message(FATAL_ERROR "${IMAGE} exports\n${exported}\ninstead of\n${listed}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "No import table found in ${IMAGE}")
endif()
string(REGEX REPLACE "DLL Name: *([^;]*)" "\\1" imports "${imports}")
string(TOLOWER "${imports}" imports)
list(TRANSFORM imports STRIP)
list(FILTER imports EXCLUDE REGEX
     "^(advapi32|kernel32|msvcrt|shell32|shlwapi|ucrtbase|user32)\\.dll$|^api-ms-win-crt-")
if(imports)
  message(FATAL_ERROR "${IMAGE} needs DLLs that are not part of the system: ${imports}")
endif()
# No switch of the environment changes what the product does: it reads no
# environment variable.
string(REGEX MATCHALL "[ \t](_w?getenv(_s)?|getenv|_w?dupenv_s|GetEnvironmentVariable[AW])\n" reads
       "${dump}")
if(reads)
  message(FATAL_ERROR "${IMAGE} reads the environment: ${reads}")
endif()
